#include "base/core/Settings.h"

#include "store/core/Text.h"

#include <QDir>

namespace qav {

namespace {

const QString secaoQav = QStringLiteral("Qav");
const QString gerente = QStringLiteral("BD Gerente");
constexpr int pastaWidth = 8; // data folder names are at most 8 characters

QString numberedKey(int numero) {
    return QStringLiteral("Pasta ") + QString::number(numero);
}

} // namespace

Settings::Settings(QString programFolder) : m_folder(std::move(programFolder)) {}

QString Settings::file(const QString& name) const {
    return QDir(m_folder).filePath(name);
}

IniFile Settings::qavplusIni() const {
    return IniFile(file(QStringLiteral("qavplus.INI")));
}

IniFile Settings::qavCfg() const {
    return IniFile(file(QStringLiteral("qav.cfg")));
}

IniFile Settings::qavIni() const {
    return IniFile(file(QStringLiteral("qav.ini")));
}

IniFile Settings::hlxIni() const {
    return IniFile(file(QStringLiteral("hlx.ini")));
}

IniFile Settings::bdVer(const QString& pasta) const {
    return IniFile(QDir::cleanPath(file(QStringLiteral("../") + pasta + QStringLiteral("/bd.ver"))));
}

int Settings::empresaDaPasta(const QString& pasta) const {
    return qavCfg().readInt(secaoQav, QStringLiteral("Empresa-") + pasta, 0);
}

bool Settings::setEmpresaDaPasta(const QString& pasta, int idEmpresa) const {
    return qavCfg().writeInt(secaoQav, QStringLiteral("Empresa-") + pasta, idEmpresa);
}

QString Settings::pasta() const {
    return text::fit(qavCfg().readString(secaoQav, QStringLiteral("Pasta"), QStringLiteral("dados")),
                     pastaWidth);
}

bool Settings::setPasta(const QString& pasta) const {
    return qavCfg().writeString(secaoQav, QStringLiteral("Pasta"), text::fit(pasta, pastaWidth));
}

QString Settings::pastaNumerada(int numero) const {
    if (numero < 1 || numero > pastasNumeradas)
        return {};
    return text::fit(qavCfg().readString(secaoQav, numberedKey(numero)), pastaWidth);
}

bool Settings::setPastaNumerada(int numero, const QString& pasta) const {
    if (numero < 1 || numero > pastasNumeradas)
        return false;
    return qavCfg().writeString(secaoQav, numberedKey(numero), text::fit(pasta, pastaWidth));
}

BdGerente Settings::bdGerente() const {
    const IniFile cfg = qavCfg();
    BdGerente g;
    g.nome = cfg.readString(gerente, QStringLiteral("Nome"));
    g.host = cfg.readString(gerente, QStringLiteral("Host"));
    g.porta = cfg.readString(gerente, QStringLiteral("Porta"));
    g.usuario = cfg.readString(gerente, QStringLiteral("Usuário"));
    g.senha = cfg.readString(gerente, QStringLiteral("Senha"));
    g.pastaTps = cfg.readString(gerente, QStringLiteral("Pasta TPS"));
    g.empresa = cfg.readInt(gerente, QStringLiteral("Empresa"), 0);
    return g;
}

bool Settings::setBdGerente(const BdGerente& g) const {
    IniFile cfg = qavCfg();
    // Every key is attempted even when one fails, so one bad value does not lose the others.
    bool ok = cfg.writeString(gerente, QStringLiteral("Nome"), g.nome);
    ok = cfg.writeString(gerente, QStringLiteral("Host"), g.host) && ok;
    ok = cfg.writeString(gerente, QStringLiteral("Porta"), g.porta) && ok;
    ok = cfg.writeString(gerente, QStringLiteral("Usuário"), g.usuario) && ok;
    ok = cfg.writeString(gerente, QStringLiteral("Senha"), g.senha) && ok;
    ok = cfg.writeString(gerente, QStringLiteral("Pasta TPS"), g.pastaTps) && ok;
    ok = cfg.writeInt(gerente, QStringLiteral("Empresa"), g.empresa) && ok;
    return ok;
}

int Settings::pedidosSituacao() const {
    return qavIni().readInt(QStringLiteral("Pedidos"), QStringLiteral("Situação"), 5);
}

bool Settings::setPedidosSituacao(int situacao) const {
    return qavIni().writeInt(QStringLiteral("Pedidos"), QStringLiteral("Situação"), situacao);
}

int Settings::impPedidoModelo() const {
    return qavIni().readInt(QStringLiteral("ImpPedido"), QStringLiteral("modelo"), 1);
}

bool Settings::setImpPedidoModelo(int modelo) const {
    return qavIni().writeInt(QStringLiteral("ImpPedido"), QStringLiteral("modelo"), modelo);
}

bool Settings::impPedidoOrdemProduto() const {
    return qavIni().readInt(QStringLiteral("ImpPedido"), QStringLiteral("Ordem Produto"), 1) != 0;
}

bool Settings::setImpPedidoOrdemProduto(bool ordemProduto) const {
    return qavIni().writeInt(QStringLiteral("ImpPedido"), QStringLiteral("Ordem Produto"),
                             ordemProduto ? 1 : 0);
}

int Settings::clientesPessoa() const {
    return qavIni().readInt(QStringLiteral("Clientes"), QStringLiteral("Pessoa"), 1);
}

bool Settings::setClientesPessoa(int pessoa) const {
    return qavIni().writeInt(QStringLiteral("Clientes"), QStringLiteral("Pessoa"), pessoa);
}

int Settings::consultaProdutoId() const {
    return qavIni().readInt(QStringLiteral("Consulta Produto"), QStringLiteral("Id"), 0);
}

bool Settings::setConsultaProdutoId(int idProduto) const {
    return qavIni().writeInt(QStringLiteral("Consulta Produto"), QStringLiteral("Id"), idProduto);
}

int Settings::relClientesLativo() const {
    return qavIni().readInt(QStringLiteral("RelClientes"), QStringLiteral("Lativo"), 1);
}

bool Settings::setRelClientesLativo(int opcao) const {
    return qavIni().writeInt(QStringLiteral("RelClientes"), QStringLiteral("Lativo"), opcao);
}

int Settings::relPedComLdata() const {
    return qavIni().readInt(QStringLiteral("RelPedCom"), QStringLiteral("Ldata"), 1);
}

bool Settings::setRelPedComLdata(int opcao) const {
    return qavIni().writeInt(QStringLiteral("RelPedCom"), QStringLiteral("Ldata"), opcao);
}

int Settings::relPedComLsit() const {
    return qavIni().readInt(QStringLiteral("RelPedCom"), QStringLiteral("Lsit"), 5);
}

bool Settings::setRelPedComLsit(int opcao) const {
    return qavIni().writeInt(QStringLiteral("RelPedCom"), QStringLiteral("Lsit"), opcao);
}

bool Settings::mailOutlookOffice() const {
    return hlxIni().readInt(QStringLiteral("Mail"), QStringLiteral("Outlook Office"), 0) != 0;
}

bool Settings::setMailOutlookOffice(bool outlookOffice) const {
    return hlxIni().writeInt(QStringLiteral("Mail"), QStringLiteral("Outlook Office"), outlookOffice ? 1 : 0);
}

int Settings::versaoBd(const QString& pasta) const {
    return bdVer(pasta).readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), 0);
}

bool Settings::setVersaoBd(const QString& pasta, int versao) const {
    return bdVer(pasta).writeInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), versao);
}

} // namespace qav
