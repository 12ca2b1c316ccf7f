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
    QTableWidget* lista() const { return lista_; }

    void novo();
    void editar();
    void excluir();

private:
    std::int64_t idAtual() const;
    void atualizarBotoes();

    SociosCliente& socios_;
    QString iniJanelas_;
    bool somenteLeitura_ = false;
    QTableWidget* lista_;
    QPushButton* novo_;
    QPushButton* editar_;
    QPushButton* excluir_;
    QMenu* popup_;
};

} // namespace qav
