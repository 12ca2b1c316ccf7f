#include "sync/core/execucao/ContextoComunicacao.h"

#include <QStringList>
#include <cstring>

namespace qav::sync {

QString textoTipo(TipoComunicacao tipo) {
    switch (tipo) {
    case TipoComunicacao::Total:
        return QStringLiteral("Completa");
    case TipoComunicacao::Parcial:
        return QStringLiteral("Parcial");
    case TipoComunicacao::SomentePedidos:
        return QStringLiteral("Somente Pedidos");
    }
    return {};
}

size_t LinhaNomeada::indice(const char* coluna) const {
    if (m_nomes)
        for (size_t i = 0; i < m_nomes->size(); ++i)
            if (std::strcmp((*m_nomes)[i], coluna) == 0)
                return i;
    return static_cast<size_t>(-1);
}

QString LinhaNomeada::texto(const char* coluna) const {
    return m_linha.texto(indice(coluna));
}

long long LinhaNomeada::inteiro(const char* coluna) const {
    return m_linha.inteiro(indice(coluna));
}

Decimal LinhaNomeada::decimal(const char* coluna) const {
    return m_linha.decimal(indice(coluna));
}

Date LinhaNomeada::data(const char* coluna) const {
    return m_linha.data(indice(coluna));
}

void ContextoComunicacao::textosAjustadosNaLinha(const QString& registro, const Linha& linha) {
    if (linha.ajustes.empty())
        return;
    QStringList colunas;
    for (const AjusteTexto& a : linha.ajustes)
        colunas << a.coluna;
    textoAjustado(QStringLiteral("Texto ajustado (") + registro + QStringLiteral("): ") +
                  colunas.join(QStringLiteral(", ")));
}

void ContextoComunicacao::textoAjustadoNoEnvio(const AjusteTexto& a) {
    const QString campo = a.tabela.isEmpty() ? a.coluna : a.tabela + QLatin1Char('.') + a.coluna;
    textoAjustado(QStringLiteral("Texto ajustado no envio (") +
                  (registroEmEnvio.isEmpty() ? QString() : registroEmEnvio + QStringLiteral(", ")) + campo +
                  QStringLiteral("): ") + a.ajustado.left(30));
}

void ContextoComunicacao::erroSql(const ErroSql& e) const {
    ouvinte.mensagem(QStringLiteral("Erro SQL (") + e.codigo + QLatin1Char(')'),
                     e.texto + QStringLiteral("|Comando SQL: ") + e.comando, Icone::Erro);
}

} // namespace qav::sync
