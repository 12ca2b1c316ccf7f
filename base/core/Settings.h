#pragma once
// Every setting kept in the settings files of the program folder, with its file, section, key and
// default in one place so all windows and both programs read and write them alike. A missing file,
// section or key gives the default; a failed write is not reported (the value starts with its
// default next time), but the setters return false for callers that care.

#include "base/core/IniFile.h"

#include <QString>

namespace qav {

// Connection of a manager database and the folder its tables go to (qav.cfg, "BD Gerente").
struct BdGerente {
    QString nome;
    QString host;
    QString porta;
    QString usuario;
    QString senha;
    QString pastaTps;
    int empresa = 0;

    bool operator==(const BdGerente&) const = default;
};

class Settings {
public:
    // The folder holding the program and its settings files; data folders are its siblings.
    explicit Settings(QString programFolder);

    const QString& programFolder() const { return m_folder; }

    // The files themselves, for the window position memory and for the rare caller that needs more.
    IniFile qavplusIni() const; // window states, one section per window
    IniFile qavCfg() const;     // data folders and the last company of each
    IniFile qavIni() const;     // options remembered by lists, forms and reports
    IniFile hlxIni() const;     // e-mail options
    // bd.ver of the data folder `pasta` (a sibling of the program folder).
    IniFile bdVer(const QString& pasta) const;

    // qav.cfg, "Qav"
    int empresaDaPasta(const QString& pasta) const; // company chosen last in that folder, 0 = none
    bool setEmpresaDaPasta(const QString& pasta, int idEmpresa) const;
    QString pasta() const; // data folder chosen last, "dados" when none
    bool setPasta(const QString& pasta) const;
    static constexpr int pastasNumeradas = 9;
    QString pastaNumerada(int numero) const; // "Pasta 1" .. "Pasta 9", empty when unset
    bool setPastaNumerada(int numero, const QString& pasta) const;

    // qav.cfg, "BD Gerente"
    BdGerente bdGerente() const;
    bool setBdGerente(const BdGerente& gerente) const;

    // qav.ini
    int pedidosSituacao() const; // situation filter of the order list
    bool setPedidosSituacao(int situacao) const;
    int impPedidoModelo() const; // printout model 1..4
    bool setImpPedidoModelo(int modelo) const;
    bool impPedidoOrdemProduto() const; // items in product order (else in entry order)
    bool setImpPedidoOrdemProduto(bool ordemProduto) const;
    int clientesPessoa() const; // person type proposed for a new customer, 1..3
    bool setClientesPessoa(int pessoa) const;
    int consultaProdutoId() const; // product the product look-up opens on
    bool setConsultaProdutoId(int idProduto) const;
    int relClientesLativo() const;
    bool setRelClientesLativo(int opcao) const;
    int relPedComLdata() const;
    bool setRelPedComLdata(int opcao) const;
    int relPedComLsit() const;
    bool setRelPedComLsit(int opcao) const;

    // hlx.ini, "Mail"
    bool mailOutlookOffice() const;
    bool setMailOutlookOffice(bool outlookOffice) const;

    // bd.ver of a data folder, "QAVPlus" / "VersaoBD": 0 when never written.
    int versaoBd(const QString& pasta) const;
    bool setVersaoBd(const QString& pasta, int versao) const;

private:
    QString file(const QString& name) const;

    QString m_folder;
};

} // namespace qav
