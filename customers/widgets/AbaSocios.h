#pragma once
// Tab "Pessoa Jurídica (3)" of the customer form: the partner list "Sócios" with "&Novo", "&Editar"
// and "E&xcluir" calling the partner form. Changes stay in memory until the customer is saved.

#include "customers/core/SociosCliente.h"

#include <QWidget>

class QMenu;
class QPushButton;
class QTableWidget;

namespace qav {

class AbaSocios : public QWidget {
    Q_OBJECT
public:
    AbaSocios(SociosCliente& socios, QString iniJanelas, QWidget* parent = nullptr);

    void mostrar();
    void setSomenteLeitura(bool sim);
    QTableWidget* lista() const { return m_lista; }

    void novo();
    void editar();
    void excluir();

private:
    std::int64_t idAtual() const;
    void atualizarBotoes();

    SociosCliente& m_socios;
    QString m_iniJanelas;
    bool m_somenteLeitura = false;
    QTableWidget* m_lista;
    QPushButton* m_novo;
    QPushButton* m_editar;
    QPushButton* m_excluir;
    QMenu* m_popup;
};

} // namespace qav
