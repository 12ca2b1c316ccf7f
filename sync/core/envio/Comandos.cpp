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

bool perguntarJuntos(const ContextoComunicacao& contexto, const QStringList& comandos,
                     std::vector<std::vector<Linha>>& respostas) {
    QStringList enviados;
    for (const QString& comando : comandos)
        if (!comando.isEmpty())
            enviados << comando;
    std::vector<std::vector<Linha>> lidas;
    ErroSql erro;
    if (!contexto.conexao.executarJuntos(enviados, lidas, &erro)) {
        contexto.erroSql(erro);
        return false;
    }
    respostas.assign(static_cast<size_t>(comandos.size()), {});
    size_t lida = 0;
    for (qsizetype i = 0; i < comandos.size(); ++i)
        if (!comandos[i].isEmpty() && lida < lidas.size())
            respostas[static_cast<size_t>(i)] = std::move(lidas[lida++]);
    return true;
}

std::optional<Linha> primeiraLinha(const std::vector<Linha>& linhas) {
    if (linhas.empty())
        return std::nullopt;
    return linhas.front();
}

} // namespace qav::sync::envio
