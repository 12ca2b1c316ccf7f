#include "sync/core/ClienteGerente.h"

#include "base/core/Version.h"
#include "store/core/Clock.h"
#include "sync/core/ComandosEnvio.h"
#include "sync/core/LinhaCliente.h"

namespace qav::sync {

namespace {

// The office keeps up to 2048 characters of each of the three long texts.
constexpr int kLimiteMemo = 2048;
// The country code of Brazil.
constexpr int kCodigoPaisBrasil = 1058;
// The office's customer sequence hands out ids from here on; the workstations number their own
// customers from 900001 and never get this far.
constexpr long long kPrimeiroIdEscritorio = 950000;

const std::vector<ColunaCliente>& colunas() {
    using T = TipoColuna;
    static const std::vector<ColunaCliente> lista = {
        {"id_cliente", T::Inteiro},
        {"ativo", T::Inteiro},
        {"pesso", T::Inteiro},
        {"consfinal", T::Inteiro},
        {"cgcpf", T::Texto},
        {"suf_cgcpf", T::Texto},
        {"inscr", T::Texto},
        {"nome", T::Texto},
        {"razao", T::Texto},
        {"ender", T::Texto},
        {"cxpostal", T::Inteiro},
        {"compl", T::Texto},
        {"bairr", T::Texto},
        {"id_municipio", T::Inteiro},
        {"cep", T::Texto},
        {"e_ender", T::Texto},
        {"e_bairr", T::Texto},
        {"e_munic", T::Texto},
        {"e_estad", T::Texto},
        {"e_cep", T::Texto},
        {"c_ender", T::Texto},
        {"c_bairr", T::Texto},
        {"c_munic", T::Texto},
        {"c_estad", T::Texto},
        {"c_cep", T::Texto},
        {"e_mail", T::Texto},
        {"grupo_eco", T::Texto},
        {"dt_const", T::Data},
        {"no_reg", T::Texto},
        {"dt_reg", T::Data},
        {"hor_descarga", T::Texto},
        {"fat_anul", T::Real, nullptr, 0, false, 2},
        {"cap_social", T::Real, nullptr, 0, false, 2},
        {"cap_realiz", T::Real, nullptr, 0, false, 2},
        {"cap_aberto", T::Inteiro},
        {"con_ac_privado", T::Inteiro},
        {"con_ac_nacional", T::Inteiro},
        {"ramo_ativ", T::Texto},
        {"cnae_fiscal", T::Inteiro},
        {"no_empregados", T::Inteiro},
        {"importa", T::Inteiro},
        {"p_importa", T::Inteiro},
        {"exporta", T::Inteiro},
        {"p_exporta", T::Inteiro},
        {"princ_produ1", T::Texto, "PRINC_PRODU", 0},
        {"princ_produ2", T::Texto, "PRINC_PRODU", 1},
        {"princ_produ3", T::Texto, "PRINC_PRODU", 2},
        {"perc_vendas1", T::Real, "PERC_VENDAS", 0},
        {"perc_vendas2", T::Real, "PERC_VENDAS", 1},
        {"perc_vendas3", T::Real, "PERC_VENDAS", 2},
        {"n_suframa", T::Texto},
        {"www", T::Texto},
        {"praca", T::Texto},
        {"ceppraca", T::Texto},
        {"banc1", T::Inteiro},
        {"banc2", T::Inteiro},
        {"banc3", T::Inteiro},
        {"agen1", T::Texto},
        {"agen2", T::Texto},
        {"agen3", T::Texto},
        {"nagen1", T::Texto},
        {"nagen2", T::Texto},
        {"nagen3", T::Texto},
        {"ct_nu", T::Inteiro},
        {"ct_se", T::Inteiro},
        {"ci1", T::Texto},
        {"ci2", T::Inteiro},
        {"orgex", T::Texto},
        {"uf", T::Texto},
        {"dtemi", T::Data},
        {"ddd", T::Texto},
        {"telef", T::Texto},
        {"fax", T::Texto},
        {"data", T::Data},
        {"cod_vendedor", T::Inteiro},
        {"conta", T::Texto},
        {"c_dm_nascto", T::Inteiro},
        {"c_fone", T::Texto},
        {"con_f", T::Texto},
        {"f_dm_nascto", T::Inteiro},
        {"f_fone", T::Texto},
        {"c_ctb", T::Inteiro},
        {"c_ctb_consig", T::Inteiro},
        {"nasct", T::Data},
        {"sexo", T::Inteiro},
        {"e_civ", T::Inteiro},
        {"pai", T::Texto},
        {"mae", T::Texto},
        {"conju", T::Texto},
        {"ocupa", T::Texto},
        {"c_spc", T::Texto},
        {"natur", T::Texto},
        {"t_end", T::Inteiro},
        {"endereco_anterior", T::Texto},
        {"l_tra", T::Texto},
        {"end_empresa", T::Texto},
        {"bairro_empresa", T::Texto},
        {"id_municip_emp", T::Inteiro, nullptr, 0, true},
        {"fone_empresa", T::Texto},
        {"dt_admissao", T::Data},
        {"t_ser", T::Inteiro},
        {"renda_mensal", T::Real},
        {"outras_rendas", T::Real},
        {"aluguel", T::Inteiro},
        {"inscr_pro", T::Texto},
        {"classe", T::Texto},
        {"limcred", T::Real, nullptr, 0, false, 2},
        {"tolatr", T::Inteiro},
        {"lib_cred", T::Inteiro},
        {"cod_formapag", T::Inteiro, "FORMA_PAG"},
        {"dt_ult_verif", T::Data},
        {"alerta", T::Inteiro},
        {"id_tipo", T::Inteiro},
        {"data_tipo", T::Data},
        {"inscr_suframa", T::Texto},
        {"i_ban", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"i_com", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"obs", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"idxfti", T::Texto},
        // The customer's carrier, which the orders of the customer name as their carrier too.
        {"id_transportador", T::Inteiro, nullptr, 0, true},
        {"id_redespacho", T::Inteiro, nullptr, 0, true},
        {"redespacho_frete", T::Inteiro},
        {"pessoa_aut1", T::Texto},
        {"perc_ramo_ativ", T::Real},
        {"num_endereco", T::Texto},
        {"tx_desc_pedido", T::Real},
        {"tx_desc_fatura", T::Real},
        {"e_cnpj", T::Texto},
        {"e_num_endereco", T::Texto, "E_NUMERO"},
        {"obs_redespacho", T::Texto},
        {"pessoa_aut2", T::Texto},
        {"pessoa_aut3", T::Texto},
        {"cpf_aut1", T::Texto},
        {"cpf_aut2", T::Texto},
        {"cpf_aut3", T::Texto},
        {"email_nfe", T::Texto},
        {"cod_pais", T::Inteiro},
        {"cpf_conjuge", T::Texto},
        {"dias_multa", T::Inteiro},
        {"taxa_multa", T::Real},
        {"st_especifica", T::Texto},
        {"dt_atual", T::Data},
        {"c_num_endereco", T::Texto},
        {"cod_pauta", T::Inteiro},
        {"indicador_ie", T::Inteiro},
        {"desc_cliente_rede", T::Inteiro},
    };
    return lista;
}

// A customer the workstation holds under an id of the office's sequence came down from the office:
// it is the office's customer of that id, with or without a document.
ClientesServidor::Busca buscarPorId(const ContextoComunicacao& contexto, const Record& cliente) {
    const long long id = cliente.integer("ID");
    if (id < kPrimeiroIdEscritorio)
        return {};
    std::optional<Linha> linha;
    if (!envio::lerLinha(contexto,
                         QStringLiteral("SELECT id_cliente FROM gerente.clientes WHERE id_cliente=") +
                             Conexao::inteiro(id) + QLatin1Char(';'),
                         linha))
        return {false, std::nullopt};
    if (!linha)
        return {};
    return {true, static_cast<int>(id)};
}

// A customer found by its document: the office's customer with the same CPF/CNPJ and suffix. It is
// there when a previous run created it and lost its local commit, or when the office or its hub
// registered it meanwhile. A customer without a document has nothing to be found by.
ClientesServidor::Busca buscarPorDocumento(const ContextoComunicacao& contexto, const Record& cliente) {
    const ClientesServidor::Busca porId = buscarPorId(contexto, cliente);
    if (!porId.ok || porId.id)
        return porId;
    const QString documento = cliente.text("CGCPF").trimmed();
    if (documento.isEmpty())
        return {};
    Conexao& conexao = contexto.conexao;
    ErroSql erro;
    const auto linhas = conexao.consultar(
        QStringLiteral("SELECT id_cliente FROM gerente.clientes WHERE cgcpf=") +
            conexao.textoSempre(documento) + QStringLiteral(" AND COALESCE(TRIM(suf_cgcpf),'')=") +
            conexao.textoSempre(cliente.text("SUF_CGCPF").trimmed()) +
            QStringLiteral(" ORDER BY id_cliente LIMIT 1;"),
        &erro);
    if (!linhas) {
        contexto.erroSql(erro);
        return {false, std::nullopt};
    }
    if (linhas->empty())
        return {};
    return {true, static_cast<int>(linhas->front().inteiro(0))};
}

// The next id of the office's customer sequence that no customer holds yet (the hub writes customers
// under ids of its own, which the sequence does not know of).
std::optional<int> proximoId(const ContextoComunicacao& contexto) {
    for (;;) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(contexto, QStringLiteral("SELECT NEXTVAL('gerente.clientes_id_cliente_seq');"),
                             linha))
            return std::nullopt;
        const long long id = linha ? linha->inteiro(0) : 0;
        if (id <= 0)
            return std::nullopt;
        std::optional<Linha> ocupado;
        if (!envio::lerLinha(contexto,
                             QStringLiteral("SELECT id_cliente FROM gerente.clientes WHERE id_cliente=") +
                                 Conexao::inteiro(id) + QLatin1Char(';'),
                             ocupado))
            return std::nullopt;
        if (!ocupado)
            return static_cast<int>(id);
    }
}

class ClientesGerente : public ClientesServidor {
public:
    Busca buscar(const ContextoComunicacao& contexto, const Record& cliente) const override {
        return buscarPorDocumento(contexto, cliente);
    }

    std::optional<int> criar(const ContextoComunicacao& contexto, TabelasEnvio&, const Record& cliente, int,
                             int) const override {
        const auto id = proximoId(contexto);
        if (!id)
            return std::nullopt;
        Conexao& conexao = contexto.conexao;
        ErroSql erro;
        if (!conexao.executar(insercaoClienteGerente(conexao, cliente, *id, Clock::today()), &erro)) {
            erroCliente(contexto, erro);
            return std::nullopt;
        }
        const QString log =
            QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, id, "
                           "descricao)   VALUES ('QAV', 'QAV', 'INC', 'clientes', ") +
            Conexao::inteiro(*id) + QStringLiteral(",'QAV+ ") + versaoPrograma.toString() +
            QStringLiteral("');");
        if (!conexao.executar(log, &erro)) {
            contexto.erroComando(erro);
            return std::nullopt;
        }
        return id;
    }
};

} // namespace

const ClientesServidor& clientesGerente() {
    static const ClientesGerente gerente;
    return gerente;
}

std::vector<QString> colunasClienteGerente() {
    std::vector<QString> nomes;
    nomes.reserve(colunas().size());
    for (const ColunaCliente& c : colunas())
        nomes.push_back(QString::fromLatin1(c.nome));
    return nomes;
}

QString insercaoClienteGerente(const Conexao& conexao, const Record& cliente, int idServidor, Date hoje) {
    return insercaoCliente(conexao, QStringLiteral("gerente.clientes"), colunas(), cliente,
                           {{QStringLiteral("id_cliente"), Conexao::inteiro(idServidor)},
                            {QStringLiteral("cod_pais"), Conexao::inteiro(kCodigoPaisBrasil)},
                            {QStringLiteral("dt_atual"), Conexao::data(hoje)}});
}

} // namespace qav::sync
