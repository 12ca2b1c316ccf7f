#pragma once
// The keys the order form and the item form share in their entries: the keypad's decimal key types
// the comma of the Brazilian numbers, Enter moves on like Tab once the entry's rule has run (on a
// button it keeps its meaning), and Ctrl+R gives the entry back what it held in the record saved
// last. Each form checks its own extra keys before these.

#include <functional>

class QEvent;
class QLineEdit;
class QObject;

namespace qav {

class TeclasFormulario {
public:
    struct Acoes {
        std::function<void()> restaurar; // Ctrl+R in an entry
        std::function<void()> seguir;    // Enter, once the entry's rule ran and kept no focus
    };

    TeclasFormulario() = default;
    explicit TeclasFormulario(Acoes acoes);

    // True when the key was one of these: the event is then consumed.
    bool tratar(QObject* watched, QEvent* event);
    // The rule just run refused its entry and keeps the focus there: Enter does not move on.
    void reterFoco() { m_focoRetido = true; }

private:
    Acoes m_acoes;
    bool m_focoRetido = false;
};

// An entry's rule runs when the user leaves it after typing in it, never while the form closes.
void regraAoSair(QObject* formulario, QLineEdit* campo, const bool& fechando, std::function<void()> regra);

} // namespace qav
