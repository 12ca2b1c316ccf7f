#pragma once
// Tells the open windows that records changed under them without their doing: a communication run
// (orders transmitted, reference tables and history downloaded) or the office update. Lists showing
// such records read them again, so that nobody has to know a key that refreshes them.

#include <QObject>

namespace qav {

class DadosAlterados : public QObject {
    Q_OBJECT
public:
    static DadosAlterados& instancia();
    // Called on the interface thread once the work that changed the tables has ended.
    static void avisar();

Q_SIGNALS:
    void alterados();

private:
    DadosAlterados() = default;
};

} // namespace qav
