#include "queries/widgets/AberturaJanela.h"

#include "ui/widgets/WindowStateBinder.h"

#include <QDialog>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace qav {

void abrirJanela(const WindowContext& contexto, QWidget* janela, QStringView secao) {
    if (contexto.mdiArea) {
        // No larger than the frame's area, with room for the child's own frame and title.
        const QSize area = contexto.mdiArea->viewport()->size() - QSize(16, 40);
        if (area.isValid())
            janela->resize(janela->size().boundedTo(area));
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
