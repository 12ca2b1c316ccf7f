#include "queries/widgets/FechaJanela.h"

#include "ui/widgets/WindowStateBinder.h"

#include <QDialog>
#include <QDir>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace qav {

void abrirJanela(const WindowContext& contexto, QWidget* janela, QStringView secao) {
    if (contexto.mdiArea) {
        contexto.addChild(janela, secao);
        return;
    }
    QDialog dialogo(contexto.frame);
    dialogo.setObjectName(secao.toString());
    dialogo.setWindowTitle(janela->windowTitle());
    auto* layout = new QVBoxLayout(&dialogo);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(janela);
    dialogo.resize(janela->size());
    if (!contexto.programFolder.isEmpty())
        WindowStateBinder::attach(&dialogo, secao,
                                  QDir(contexto.programFolder).filePath(QStringLiteral("qavplus.INI")));
    dialogo.exec();
}

void fecharJanela(QWidget* janela) {
    for (QWidget* w = janela->parentWidget(); w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->close();
            return;
        }
        if (auto* dialogo = qobject_cast<QDialog*>(w)) {
            dialogo->reject();
            return;
        }
    }
    janela->close();
}

} // namespace qav
