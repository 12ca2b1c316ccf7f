#include "sync/core/envio/Comandos.h"

#include "store/core/Text.h"

namespace qav::sync::envio {

QString texto(const Conexao& conexao, const QString& valor) {
    QString limpo = valor;
    limpo.remove(QLatin1Char('\r'));
    return conexao.texto(text::rtrim(limpo));
}

QString idOuNull(long long valor) {
    return valor == 0 ? QStringLiteral("Null") : Conexao::inteiro(valor);
}

QString real(double valor) {
    return Conexao::numero(Decimal::fromDouble(valor, 6));
}

QString dataBr(long long diaLocal) {
    return QString::fromStdString(Date(static_cast<int>(diaLocal)).toBr());
}

void Insercao::coluna(const QString& nome, const QString& literal) {
    m_nomes << nome;
    m_literais << literal;
}

void Insercao::colunas(std::initializer_list<std::pair<const char*, QString>> lista) {
    for (const auto& [nome, literal] : lista)
        coluna(nome, literal);
}

QString Insercao::comando(const QString& tabela, const QString& abertura) const {
    return QStringLiteral("INSERT INTO ") + tabela + QLatin1Char('(') + m_nomes.join(QStringLiteral(", ")) +
           abertura + m_literais.join(QStringLiteral(", ")) + QStringLiteral(");");
}

QString numeroNoVendedor(const Record& pedido) {
    return QStringLiteral("%1/QAV+").arg(pedido.integer("NUMER"), 8, 10, QLatin1Char('0'));
}

bool lerLinha(const ContextoComunicacao& contexto, const QString& comando, std::optional<Linha>& linha) {
    ErroSql erro;
    const auto linhas = contexto.conexao.consultar(comando, &erro);
    if (!linhas) {
        contexto.erroSql(erro);
        return false;
    }
    linha.reset();
    if (!linhas->empty())
        linha = linhas->front();
    return true;
}

} // namespace qav::sync::envio
