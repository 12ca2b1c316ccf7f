#pragma once
// A file the program writes for the user (a PDF, a backup, an export) appears whole or not at all:
// it is written beside its target under a provisional name, flushed to the disk, checked (its size
// against what was written and, when the caller says how, its contents), and only then renamed over
// the target in one step. A failure at any point removes the provisional file and leaves the earlier
// file of that name as it was; its reason is told in the user's words ("Disco cheio ao gravar ...").
//
// The device writes through the C runtime so that the system's reason of a failed write (disk full,
// read-only folder) is known, on Windows as elsewhere.

#include <QIODevice>
#include <QString>
#include <functional>

namespace qav {

class ArquivoInteiro : public QIODevice {
public:
    explicit ArquivoInteiro(QString destino);
    ~ArquivoInteiro() override; // removes the provisional file when not concluded

    // Creates the target's folder when missing and opens the provisional file for writing.
    bool abrir();
    // Checks the provisional file's contents; false with the reason.
    using Conferencia = std::function<bool(const QString& provisorio, QString* motivo)>;
    // Flushes, checks and renames over the target. False with erro() when anything failed.
    bool concluir(const Conferencia& conferir = {});

    const QString& destino() const { return m_destino; }
    const QString& provisorio() const { return m_provisorio; }
    // Why the file could not be written, in the user's words.
    const QString& erro() const { return m_erro; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* dados, qint64 tamanho) override;
    qint64 writeData(const char* dados, qint64 tamanho) override;

private:
    bool falhar(int codigoSistema);
    bool falharCom(const QString& texto);
    void descartar();

    QString m_destino;
    QString m_provisorio;
    QString m_erro;
    int m_descritor = -1;
    int m_codigoFalha = 0; // errno of the first failed write
    qint64 m_escritos = 0;
};

// The words for a write that failed with the system's error `codigoSistema` (errno): a full disk and
// a read-only folder are named as such, with what to do; any other reason is the system's.
QString textoFalhaGravacao(int codigoSistema, const QString& arquivo);

} // namespace qav
