#include "sync/core/envio/EstoqueGerente.h"

#include "sync/core/envio/Comandos.h"

namespace qav::sync {

QString comandoSaidaEstoque(const Conexao& conexao, const SaidaEstoque& s) {
    const QString vazio = conexao.textoSempre(QString());
    const QStringList valores{
        Conexao::inteiro(s.idEmpresa),
        envio::idOuNull(s.idEstlocal),
        Conexao::inteiro(s.produto),
        vazio, // variante
        vazio, // validade
        QStringLiteral("'I'"),
        vazio, // document type, series and number: the order is its own document
        vazio,
        vazio,
        Conexao::data(s.data),
        conexao.textoSempre(QStringLiteral("Pedido # ") + QString::number(s.numero)),
        QStringLiteral("'S'"),
        Conexao::numero(s.quantidade),
        QStringLiteral("0"),
        QStringLiteral("0"),
        QStringLiteral("'QAV'"),
        QStringLiteral("1"),
        QStringLiteral("'PE'"),
        Conexao::inteiro(s.idPedidoServidor),
        Conexao::inteiro(s.ordem),
        QStringLiteral("0"),
    };
    return QStringLiteral(
               "INSERT INTO gestao.estmovto(id_empresa, id_estlocal, id_produto, variante, validade, "
               "docto_natureza, docto_tipo, docto_serie, docto_numero, data, historico, tipo, qtdade, "
               "valor, vl_ajuste, operador, status, origem_prefixo, origem_id, origem_ordem, "
               "origem_seq) VALUES (") +
           valores.join(QStringLiteral(", ")) + QStringLiteral(");");
}

} // namespace qav::sync
