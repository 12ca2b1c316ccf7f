#pragma once
// "Consulta Saldo Flex": how much flex the salesperson has left before the next communication, read
// once when the window opens; it only shows.

#include <QWidget>

class QLineEdit;

namespace qav {

class ConsultaSaldoFlex : public QWidget {
    Q_OBJECT
public:
    // `pasta`: the data folder of the active company `idEmpresa`.
    ConsultaSaldoFlex(const QString& pasta, int idEmpresa, QWidget* parent = nullptr);

private:
    QLineEdit* campo(const QString& nome, const QString& dica = {});

    QLineEdit* m_saldoEmpresa = nullptr;
    QLineEdit* m_outrosDeb = nullptr;
    QLineEdit* m_outrosCre = nullptr;
    QLineEdit* m_disponivel = nullptr;
    QLineEdit* m_saldo = nullptr;
};

} // namespace qav
