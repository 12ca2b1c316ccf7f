#include "sync/core/envio/ItensPedidoGerente.h"

#include "store/core/Text.h"
#include "sync/core/envio/CabecalhoPedidoGerente.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/EstoqueGerente.h"
#include "sync/core/envio/ItensPedidoComum.h"

namespace qav::sync {

namespace {

// The order type of bonus orders, which go out under the office's bonus operation.
constexpr long long kTipoBonificacao = 2;
// Products of this type (goods bought for resale are the others) take the plain operations.
const QLatin1String kTipoProducaoPropria("04");

class EnvioItemGerente {
public:
    EnvioItemGerente(ContextoComunicacao& c, const DadosItensGerente& d, ItemEnvio& e)
        : m_c(c), m_d(d), m_item(e.item), m_ordem(e.ordem), m_produto(e.produto), m_comissao(e.comissao) {}

    bool enviar() {
        long long idTes = 0, idSt = 0;
        if (!operacaoFiscal(idTes) || !situacaoTributaria(idTes, idSt))
            return false;
        ErroSql erro;
        if (!m_c.conexao.executar(comando(m_comissao, idTes, idSt), &erro)) {
            m_c.erroComando(erro);
            return false;
        }
        const QString idItem =
            m_c.conexao.querysql(QStringLiteral("select currval('gerente.peditens_id_peditens_seq');"));
        if (idItem.isEmpty())
            return false;
        return enviarAcessorios(m_c, m_d.fontes.tabelas.pedacess, m_item.integer("ID_VENDASI"), idItem,
                                QStringLiteral("gerente.pedacessorio")) &&
               saidaEstoque();
    }

private:
    // A bonus order goes under the office's bonus operation for the kind of customer; any other order
    // under the company's operation for sales inside or outside Santa Catarina, to final consumers or
    // not, of own production or of resale.
    bool operacaoFiscal(long long& idTes) {
        const long long consumidorFinal = m_d.fontes.cliente.integer("CONSFINAL");
        if (m_d.fontes.pedido.integer("TIPOV") == kTipoBonificacao) {
            std::optional<Linha> linha;
            if (!envio::lerLinha(m_c,
                                 QStringLiteral("SELECT id_tes FROM gerente.tes WHERE tipo_qav=2 AND "
                                                "tes_valida_cons_final=") +
                                     Conexao::inteiro(consumidorFinal) + QLatin1Char(';'),
                                 linha))
                return false;
            idTes = linha ? linha->inteiro(0) : 0;
            return true;
        }
        const bool dentro = text::rtrim(m_d.estado).compare(QStringLiteral("SC"), Qt::CaseInsensitive) == 0;
        const bool revenda = text::rtrim(m_produto.text("TIPO")) != kTipoProducaoPropria;
        const bool cf = consumidorFinal != 0;
        const char* campo = nullptr;
        if (dentro)
            campo = revenda ? (cf ? "ID_TES_DENTRO_CF_RV" : "ID_TES_DENTRO_RV")
                            : (cf ? "ID_TES_DENTRO_CF" : "ID_TES_DENTRO");
        else
            campo = revenda ? (cf ? "ID_TES_FORA_CF_RV" : "ID_TES_FORA_RV")
                            : (cf ? "ID_TES_FORA_CF" : "ID_TES_FORA");
        idTes = m_c.qavcfg->integer(campo);
        return true;
    }

    // The tax situation: the product's tax group's under the operation (groups may be shared between
    // companies), else the product's own situation code.
    bool situacaoTributaria(long long idTes, long long& idSt) {
        const QString grupo = text::rtrim(m_produto.text("GRUPO_ST"));
        const long long codSt = m_produto.integer("COD_ST");
        QString comando;
        if (!grupo.trimmed().isEmpty())
            comando =
                QStringLiteral("SELECT id_st   FROM gestao.grupost A   LEFT OUTER JOIN gestao.tabcomp B ON "
                               "(b.nome_tabcomp='grupost' AND a.id_empresa=b.id_empresa_tabcomp)   WHERE "
                               "grupo_st=") +
                m_c.conexao.textoSempre(grupo) + QStringLiteral(" AND id_tes=") + Conexao::inteiro(idTes) +
                QStringLiteral(" AND ") + Conexao::inteiro(m_d.fontes.pedido.integer("ID_EMPRESA")) +
                QStringLiteral(" IN (a.id_empresa,b.id_empresa);");
        else
            comando = QStringLiteral("SELECT id_st FROM gestao.st WHERE id_empresa=") +
                      Conexao::inteiro(m_c.empresaCabeca) + QStringLiteral(" AND codigo=") +
                      Conexao::inteiro(codSt) + QLatin1Char(';');
        std::optional<Linha> linha;
        if (!envio::lerLinha(m_c, comando, linha))
            return false;
        idSt = linha ? linha->inteiro(0) : 0;
        if (idSt == 0) {
            m_c.aviso(QStringLiteral("Situação Tributária inválida!|Código: %1|Grupo ST: %2")
                          .arg(codSt)
                          .arg(grupo));
            return false;
        }
        return true;
    }

    QString comando(const QString& comissao, long long idTes, long long idSt) const {
        const Conexao& cx = m_c.conexao;
        envio::Insercao linha;
        const auto coluna = [&](const char* nome, const QString& valor) { linha.coluna(nome, valor); };
        const auto decimal = [&](const char* nome, const char* campo) {
            coluna(nome, Conexao::numero(m_item.decimal(campo)));
        };
        coluna("id_pedido", Conexao::inteiro(m_d.fontes.idPedidoServidor));
        coluna("ordem", Conexao::inteiro(m_ordem));
        coluna("produ", Conexao::inteiro(m_item.integer("PRODU")));
        decimal("qtd", "QTD");
        decimal("pruni", "PRUNI");
        decimal("descp", "DESCP");
        decimal("descv", "DESCV");
        coluna("num_oc", envio::texto(cx, m_item.text("NUM_OC")));
        coluna("item_oc", Conexao::inteiro(m_item.integer("NUM_ITEM_OC")));
        decimal("ipi", "VL_IPI");
        decimal("total", "TOTAL");
        coluna("comis", comissao);
        coluna("obs", envio::texto(cx, m_item.text("OBS")));
        decimal("custo", "CUSTO");
        coluna("status", Conexao::inteiro(m_item.integer("STATUS")));
        decimal("valor_produto", "VALOR_PRODUTO");
        decimal("valor_acessorios", "VALOR_ACESSORIOS");
        coluna("id_tes", envio::idOuNull(idTes));
        coluna("id_st", Conexao::inteiro(idSt));
        coluna("preco_com_ipi", Conexao::inteiro(m_item.integer("PRECO_COM_IPI")));
        decimal("pr_pauta_liq", "PR_PAUTA_LIQ");
        decimal("vl_flex", "VL_FLEX");
        decimal("preco_pauta", "PRECO_PAUTA");
        return linha.comando(QStringLiteral("gerente.peditens"));
    }

    bool saidaEstoque() {
        if (!entregueNoAto(m_d.fontes.pedido))
            return true;
        SaidaEstoque saida;
        saida.idEmpresa = m_d.fontes.pedido.integer("ID_EMPRESA");
        saida.idEstlocal = m_c.qavcfg->integer("ID_ESTLOCAL");
        saida.produto = m_item.integer("PRODU");
        saida.data = Date(static_cast<int>(m_d.fontes.pedido.integer("DATA")));
        saida.numero = m_d.numero;
        saida.quantidade = m_item.decimal("QTD");
        saida.idPedidoServidor = m_d.fontes.idPedidoServidor;
        saida.ordem = m_ordem;
        ErroSql erro;
        if (!m_c.conexao.executar(comandoSaidaEstoque(m_c.conexao, saida), &erro)) {
            m_c.erroComando(erro);
            return false;
        }
        return true;
    }

    ContextoComunicacao& m_c;
    const DadosItensGerente& m_d;
    const Record& m_item;
    int m_ordem;
    const Record& m_produto;
    const QString& m_comissao;
};

} // namespace

bool enviarItensGerente(ContextoComunicacao& c, const DadosItensGerente& d) {
    return enviarCadaItem(c, d.fontes,
                          [&](ItemEnvio& item) { return EnvioItemGerente(c, d, item).enviar(); });
}

} // namespace qav::sync
