#include "customers/widgets/EscolhaCodigo.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

EscolhaCodigo::EscolhaCodigo(const QString& titulo, const Linhas& linhas, QWidget* parent) : QDialog(parent) {
    setWindowTitle(titulo);
    setObjectName(u"escolhaCodigo"_s);
    filtro_ = new QLineEdit(this);
    filtro_->setObjectName(u"filtro"_s);
    filtro_->setPlaceholderText(u"Localizar"_s);
    lista_ = new QListWidget(this);
    lista_->setObjectName(u"lista"_s);
    for (const auto& [codigo, texto] : linhas) {
        auto* item = new QListWidgetItem(QString::number(codigo) + u" - "_s + texto, lista_);
        item->setData(Qt::UserRole, static_cast<qlonglong>(codigo));
    }
    if (lista_->count() > 0)
        lista_->setCurrentRow(0);
    auto* botoes = new QDialogButtonBox(this);
    QPushButton* selecionar = botoes->addButton(u"&Selecionar"_s, QDialogButtonBox::AcceptRole);
    selecionar->setObjectName(u"selecionar"_s);
    QPushButton* cancelar = botoes->addButton(u"&Cancelar"_s, QDialogButtonBox::RejectRole);
    cancelar->setObjectName(u"cancelar"_s);
    connect(botoes, &QDialogButtonBox::accepted, this, [this] {
        if (escolhido())
            accept();
    });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lista_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(filtro_, &QLineEdit::textChanged, this, &EscolhaCodigo::filtrar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filtro_);
    layout->addWidget(lista_);
    layout->addWidget(botoes);
    resize(420, 360);
}

std::optional<std::int64_t> EscolhaCodigo::escolher(const QString& titulo, const Linhas& linhas,
                                                    QWidget* parent) {
    EscolhaCodigo dialogo(titulo, linhas, parent);
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.escolhido();
}

std::optional<std::int64_t> EscolhaCodigo::escolhido() const {
    const QListWidgetItem* item = lista_->currentItem();
    if (!item || item->isHidden())
        return std::nullopt;
    return item->data(Qt::UserRole).toLongLong();
}

bool EscolhaCodigo::selecionar(std::int64_t codigo) {
    for (int i = 0; i < lista_->count(); ++i) {
        if (lista_->item(i)->data(Qt::UserRole).toLongLong() == codigo) {
            lista_->item(i)->setHidden(false);
            lista_->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void EscolhaCodigo::filtrar(const QString& texto) {
    QListWidgetItem* primeiro = nullptr;
    for (int i = 0; i < lista_->count(); ++i) {
        QListWidgetItem* item = lista_->item(i);
        const bool mostra = item->text().contains(texto.trimmed(), Qt::CaseInsensitive);
        item->setHidden(!mostra);
        if (mostra && !primeiro)
            primeiro = item;
    }
    lista_->setCurrentItem(primeiro);
}

} // namespace qav

namespace qav {

std::optional<Municipio> resolverMunicipio(Store& store, std::int64_t id, QWidget* parent) {
    if (auto m = buscarMunicipio(store, id))
        return m;
    const auto escolhido = EscolhaCodigo::escolher(u"Municípios"_s, listaMunicipios(store), parent);
    if (!escolhido)
        return std::nullopt;
    return buscarMunicipio(store, *escolhido);
}

std::optional<std::int64_t> resolverPauta(Store& store, int idEmpresa, std::int64_t codigo, QWidget* parent) {
    if (pautaExiste(store, idEmpresa, codigo))
        return codigo;
    return EscolhaCodigo::escolher(u"Pautas de preços"_s, listaPautas(store, idEmpresa), parent);
}

} // namespace qav
