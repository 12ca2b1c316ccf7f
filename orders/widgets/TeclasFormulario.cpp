#include "orders/widgets/TeclasFormulario.h"

#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace qav {

TeclasFormulario::TeclasFormulario(Acoes acoes) : m_acoes(std::move(acoes)) {}

bool TeclasFormulario::tratar(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* tecla = static_cast<QKeyEvent*>(event);
    auto* campo = qobject_cast<QLineEdit*>(watched);
    if (campo && tecla->key() == Qt::Key_Period && (tecla->modifiers() & Qt::KeypadModifier)) {
        campo->insert(u","_s);
        return true;
    }
    if (campo && tecla->key() == Qt::Key_R && tecla->modifiers() == Qt::ControlModifier) {
        m_acoes.restaurar();
        return true;
    }
    const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    if (enter && tecla->modifiers() == Qt::NoModifier) {
        m_focoRetido = false;
        if (campo)
            Q_EMIT campo->editingFinished(); // the rule runs before the focus moves
        // A refused entry keeps the focus: the representative corrects it there.
        if (!m_focoRetido)
            m_acoes.seguir();
        return true;
    }
    return false;
}

void regraAoSair(QObject* formulario, QLineEdit* campo, const bool& fechando, std::function<void()> regra) {
    QObject::connect(campo, &QLineEdit::editingFinished, formulario,
                     [campo, &fechando, regra = std::move(regra)] {
                         if (fechando || !campo->isModified())
                             return;
                         campo->setModified(false);
                         regra();
                     });
}

} // namespace qav
