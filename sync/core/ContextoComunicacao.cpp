#include "sync/core/ContextoComunicacao.h"

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

void ContextoComunicacao::erroSql(const ErroSql& e) const {
    ouvinte.mensagem(QStringLiteral("Erro SQL (") + e.codigo + QLatin1Char(')'),
                     e.texto + QStringLiteral("|Comando SQL: ") + e.comando, Icone::Erro);
}

} // namespace qav::sync
