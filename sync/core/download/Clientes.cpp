#include "sync/core/download/Clientes.h"
#include "customers/core/RegrasCliente.h"

#include "store/core/Table.h"
#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Passo.h"
#include "sync/core/envio/Cliente.h"
#include "sync/core/envio/RenumeracaoCliente.h"
#include "sync/core/execucao/CursorTransacao.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <exception>
#include <map>
#include <unordered_map>
#include <vector>

namespace qav::sync {

namespace {

const char* const kSelectZor =
    "SELECT id_corrent, ativo, pesso, consfinal, cgcpf, inscr, nome, razao,         endereco, c"
    "xpostal, compl, bairr, id_municipio, cep, e_ender,         e_bairr, id_municipio_entrega, "
    "e_cep, c_ender, c_bairr, id_municipio_cobranca,         c_cep, e_mail, grupo_eco, dt_const"
    ", no_reg, dt_reg, hor_descarga,         fat_anul, cap_social, cap_realiz, cap_aberto, con_"
    "ac_privado,         con_ac_nacional, ramo_ativ, cod_ativ_ir, no_empregados, importa,      "
    "   p_importa, exporta, p_exporta, princ_produ1, princ_produ2, princ_produ3,         perc_v"
    "endas1, perc_vendas2, perc_vendas3, www, banc1, banc2,         banc3, agen1, agen2, agen3,"
    " nagen1, nagen2, nagen3, ct_nu, ct_se,         ci1, ci2, orgex, uf, dtemi, ddd, telef, fax"
    ", data, cod_vendedor,         cod_vendedor2, cod_vendedor3, conta, c_dm_nascto, c_fone, co"
    "n_f,         f_dm_nascto, f_fone, c_ctb, c_ctb_consig, nasct, sexo, e_civ,         pai, ma"
    "e, conju, ocupa, c_spc, natur, t_ser, l_tra, t_end, inscr_pro,         classe, limcred, to"
    "latr, cod_formapag, id_st, inscr_suframa,         lei_livre, dt_ult_verif, codigo, id_tran"
    "sportadora, aviso_protesto,         codigo_vend_prep, id_tipo, id_regiao, i_ban, i_com, ob"
    "s, repr_nome,         repr_ddd, repr_fone, repr_fax, cc1, fornecedor, cliente, id_ant_forn"
    "e,         suf_cgcpf, num_endereco, email_nfe, alerta, cod_pais,         st_especifica, co"
    "d_tes, regra_exclusiva, indicador_ie, cod_pauta FROM        zor.corrent";

const char* const kSelectGerente =
    "SELECT id_cliente, ativo, pesso, consfinal, cgcpf, suf_cgcpf, inscr,         nome, razao, "
    "ender, cxpostal, compl, bairr, id_municipio, cep,         e_ender, e_bairr, e_munic, e_est"
    "ad, e_cep, c_ender, c_bairr,          c_munic, c_estad, c_cep, e_mail, grupo_eco, dt_const"
    ", no_reg,          dt_reg, hor_descarga, fat_anul, cap_social, cap_realiz, cap_aberto,    "
    "      con_ac_privado, con_ac_nacional, ramo_ativ, cnae_fiscal, no_empregados,          imp"
    "orta, p_importa, exporta, p_exporta, princ_produ1, princ_produ2,          princ_produ3, pe"
    "rc_vendas1, perc_vendas2, perc_vendas3, n_suframa,          www, praca, ceppraca, banc1, b"
    "anc2, banc3, agen1, agen2, agen3,          nagen1, nagen2, nagen3, ct_nu, ct_se, ci1, ci2,"
    " orgex, uf, dtemi,          ddd, telef, fax, data, cod_vendedor, conta, c_dm_nascto, c_fon"
    "e,          con_f, f_dm_nascto, f_fone, c_ctb, c_ctb_consig, nasct, sexo,          e_civ, "
    "pai, mae, conju, ocupa, c_spc, natur, t_end, endereco_anterior,          l_tra, end_empres"
    "a, bairro_empresa, id_municip_emp, fone_empresa,          dt_admissao, t_ser, renda_mensal"
    ", outras_rendas, aluguel, inscr_pro,          classe, limcred, tolatr, lib_cred, cod_forma"
    "pag, dt_ult_verif,          alerta, id_tipo, data_tipo, inscr_suframa, i_ban, i_com, obs, "
    "         idxfti, id_transportador, id_redespacho, redespacho_frete, pessoa_aut1,          "
    "perc_ramo_ativ, num_endereco, tx_desc_pedido, tx_desc_fatura,          e_cnpj, e_num_ender"
    "eco, obs_redespacho, pessoa_aut2, pessoa_aut3,          cpf_aut1, cpf_aut2, cpf_aut3, emai"
    "l_nfe, cod_pais, cpf_conjuge,          dias_multa, taxa_multa, st_especifica, dt_atual, c_"
    "num_endereco,        cod_pauta, indicador_ie, desc_cliente_rede   FROM gerente.clientes";

// The columns of a statement's SELECT list, in order.
std::vector<QString> colunas(const char* select) {
    QString lista = QString::fromLatin1(select).mid(7);
    lista = lista.left(lista.indexOf(QStringLiteral(" FROM")));
    std::vector<QString> nomes;
    for (const QString& c : lista.split(QLatin1Char(',')))
        nomes.push_back(c.trimmed());
    return nomes;
}

// Where a column lands in the customer record: a field (with its element for the numbered columns of
// the main products and their sales shares), or nowhere.
struct Destino {
    QByteArray campo;
    int elemento = 0;
    int indice = -1; // the field's place in the record, looked up once for the step
    // The arrays of main products (cut to their width) and of sales shares.
    enum class Lista { Nenhuma, PrincipaisProdutos, PercentuaisVendas } lista = Lista::Nenhuma;
};

std::vector<Destino> destinos(const Record& r, const std::vector<QString>& nomes,
                              const std::map<QString, const char*>& outrosNomes) {
    std::vector<Destino> d;
    for (const QString& nome : nomes) {
        Destino destino;
        if (const auto o = outrosNomes.find(nome); o != outrosNomes.end())
            destino.campo = o->second;
        else if (nome.startsWith(QStringLiteral("princ_produ")) ||
                 nome.startsWith(QStringLiteral("perc_vendas"))) {
            destino.campo = nome.left(nome.size() - 1).toUpper().toLatin1();
            destino.elemento = nome.right(1).toInt() - 1;
        } else {
            for (const FieldDef& f : r.def().fields)
                if (QString::fromLatin1(f.name).compare(nome, Qt::CaseInsensitive) == 0)
                    destino.campo = f.name;
        }
        if (destino.campo == "PRINC_PRODU")
            destino.lista = Destino::Lista::PrincipaisProdutos;
        else if (destino.campo == "PERC_VENDAS")
            destino.lista = Destino::Lista::PercentuaisVendas;
        if (!destino.campo.isEmpty()) {
            try {
                destino.indice = r.field(destino.campo.constData());
            } catch (const FieldValueError&) {
                destino.indice = -1; // named by its name, row by row, which reports it
            }
        }
        d.push_back(destino);
    }
    return d;
}

struct Forma {
    bool zor;
    const char* select;
    std::map<QString, const char*> outrosNomes;
};

const Forma& formaZor() {
    static const Forma f{true,
                         kSelectZor,
                         {{QStringLiteral("id_corrent"), "ID"},
                          {QStringLiteral("endereco"), "ENDER"},
                          {QStringLiteral("inscr_suframa"), "INSCR_SUFRAMA"},
                          {QStringLiteral("cod_formapag"), "FORMA_PAG"},
                          {QStringLiteral("id_transportadora"), "ID_TRANSPORTADOR"}}};
    return f;
}

const Forma& formaGerente() {
    static const Forma f{false,
                         kSelectGerente,
                         {{QStringLiteral("id_cliente"), "ID"},
                          {QStringLiteral("cnae_fiscal"), "COD_ATIV_IR"},
                          {QStringLiteral("cod_formapag"), "FORMA_PAG"}}};
    return f;
}

// Whether the salesperson sees every customer of the company.
bool todosOsClientes(ContextoComunicacao& c) {
    Table vendedor(c.store, "vendedor");
    if (!vendedor.open())
        return false;
    Status s = vendedor.seekPhysical();
    while (s == Status::Ok && (s = vendedor.next()) == Status::Ok)
        if (vendedor.rec().integer("ID_EMPRESA") == c.idEmpresa &&
            vendedor.rec().integer("CODIGO") == representante(c))
            return vendedor.rec().integer("QAV_TODOS_CLIENTES") != 0;
    return false;
}

QString filtro(const ContextoComunicacao& c, bool zor, bool todos) {
    const QString rep = Conexao::inteiro(representante(c));
    const QString doVendedor = zor ? rep + QStringLiteral(" IN (cod_vendedor,cod_vendedor2,cod_vendedor3)")
                                   : QStringLiteral("cod_vendedor=") + rep;
    const QString alterados = QStringLiteral("dt_atual>=") + Conexao::data(c.corte);
    if (c.primeiraComunicacao)
        return QStringLiteral(" WHERE ") + doVendedor;
    if (c.tipo == TipoComunicacao::Parcial)
        return QStringLiteral(" WHERE ") + alterados;
    if (!todos)
        return QStringLiteral(" WHERE ") + doVendedor + QStringLiteral(" OR ") + alterados;
    return {};
}

std::pair<QString, QString> municipio(Table& municip, long long id) {
    municip.clear();
    municip.rec().setInteger("ID", id);
    if (id == 0 || municip.get("KEYID") != Status::Ok)
        return {};
    return {text::rtrim(municip.rec().text("NOME")), text::rtrim(municip.rec().text("ESTADO"))};
}

// When another customer already holds the document and its suffix, this one's suffix becomes the
// first three characters of its id, so that both can be kept.
bool separarDocumento(Table& outro, Record& r) {
    outro.clear();
    outro.rec().setText("CGCPF", r.text("CGCPF"));
    outro.rec().setText("SUF_CGCPF", r.text("SUF_CGCPF"));
    // Only the holder's id is looked at: the rest of its wide record is not read.
    const Status s = outro.getFields("KEYCGC", {outro.rec().field("ID")});
    if (s == Status::Error)
        return false;
    if (s == Status::Ok && outro.rec().integer("ID") != r.integer("ID"))
        r.setText("SUF_CGCPF", QString::number(r.integer("ID")).left(3));
    return true;
}

// The workstation's customer (id above 900000) holding the document, 0 when there is none.
long long clienteDaEstacao(Table& outro, const QString& documento) {
    if (documento.trimmed().isEmpty())
        return 0;
    outro.clear();
    outro.rec().setText("CGCPF", documento);
    Status s = outro.seek("KEYCGC", 1);
    while (s == Status::Ok && (s = outro.next()) == Status::Ok &&
           text::rtrim(outro.rec().text("CGCPF")) == text::rtrim(documento))
        if (outro.rec().integer("ID") > clientes::idLocalInicial)
            return outro.rec().integer("ID");
    return 0;
}

// The customer step's work on the local tables, row by row.
class BaixaClientes {
public:
    BaixaClientes(ContextoComunicacao& c, const Forma& forma, PassoDownload& passo, Table& clientes,
                  Table& municip, Table& outro, TabelasEnvio& tabelas, const std::vector<QString>& nomes,
                  bool todos, bool vazia)
        : m_c(c), m_forma(forma), m_passo(passo), m_clientes(clientes), m_municip(municip), m_outro(outro),
          m_tabelas(tabelas), m_nomes(nomes), m_mapa(destinos(clientes.rec(), nomes, forma.outrosNomes)),
          m_todos(todos), m_rep(representante(c)), m_lido(clientes.def()), m_vazia(vazia) {}

    bool gravar(const Linha& l) {
        const long long id = l.inteiro(0);
        const QString sobre = QString::number(id) + QLatin1Char(' ') + l.texto(m_posRazao);
        m_passo.progresso([&] { return QStringLiteral("Atualizando Cliente: ") + sobre; });
        if (id > clientes::idLocalInicial)
            return true;
        const bool doVendedor = ehDoVendedor(l);
        if (!m_forma.zor) {
            // A customer created here that the office already registered takes the office's id.
            const long long local = clienteDaEstacao(m_outro, l.texto(m_posDocumento));
            if (local != 0) {
                if (!renumerarClienteLocal(m_c, m_tabelas, static_cast<int>(local), static_cast<int>(id)))
                    return false;
                m_passo.contar();
                return true;
            }
        }
        m_clientes.clearFilter();
        m_clientes.clear();
        // Into a folder without customers every customer is new: none is looked up.
        Status achou = Status::NotFound;
        if (!m_vazia) {
            m_clientes.rec().setInteger("ID", id);
            achou = m_clientes.get("KEYID");
        }
        if (achou == Status::Error)
            return falha(sobre);
        if (achou != Status::Ok && !m_todos && !doVendedor)
            return true;
        if (achou != Status::Ok)
            m_clientes.clear();
        Record& r = m_clientes.rec();
        if (achou == Status::Ok)
            m_lido = r;
        const long long formaPag = achou == Status::Ok ? r.integer("FORMA_PAG") : 0;
        if (!preencher(r, l, sobre))
            return false;
        // The customer's own choice of payment form stays.
        if (formaPag != 0)
            r.setInteger("FORMA_PAG", formaPag);
        // A customer no longer this salesperson's stays, inactive and without a salesperson.
        if (achou == Status::Ok && !m_todos && !doVendedor) {
            r.setInteger("COD_VENDEDOR", 0);
            r.setInteger("ATIVO", 0);
        }
        if (!separarDocumento(m_outro, r))
            return falha(sobre);
        // A customer already here is written only where it changed (its keys stay as they are).
        if ((achou == Status::Ok ? putChanged(m_clientes, m_lido) : m_clientes.add()) != Status::Ok) {
            // An id the server sent twice: from then on each customer is looked up.
            if (m_vazia && m_clientes.error().code == ErrorCode::CreatesDuplicateKey) {
                m_vazia = false;
                return gravar(l);
            }
            return falha(sobre);
        }
        m_passo.contar();
        return true;
    }

private:
    // The place of a column in the answer (none: past its end, which reads as an empty text).
    size_t posicao(const char* nome) const {
        for (size_t i = 0; i < m_nomes.size(); ++i)
            if (m_nomes[i] == QLatin1String(nome))
                return i;
        return m_nomes.size();
    }

    // The ERP names up to three salespeople of a customer; the office one.
    bool ehDoVendedor(const Linha& l) const {
        if (!m_forma.zor)
            return l.texto(m_posVendedor).toInt() == m_rep;
        return l.texto(m_posVendedor).toInt() == m_rep || l.texto(m_posVendedor2).toInt() == m_rep ||
               l.texto(m_posVendedor3).toInt() == m_rep;
    }

    // The server's values over the local customer; the ERP sends the delivery and billing towns by
    // id. A text the local files cannot hold ends the step as a failed write does.
    bool preencher(Record& r, const Linha& l, const QString& sobre) {
        const QString registro = QStringLiteral("Cliente # ") + sobre;
        try {
            for (size_t i = 0; i < m_mapa.size(); ++i) {
                const Destino& d = m_mapa[i];
                if (d.campo.isEmpty())
                    continue;
                if (d.elemento > 0 || d.lista != Destino::Lista::Nenhuma) {
                    if (d.lista == Destino::Lista::PrincipaisProdutos)
                        r.setText("PRINC_PRODU", text::fit(l.texto(i), 35), d.elemento);
                    else
                        atribuirOuRegistrar(m_c, r, "PERC_VENDAS", l.texto(i), registro, d.elemento);
                    continue;
                }
                if (d.indice >= 0)
                    atribuirOuRegistrar(m_c, r, d.indice, l.texto(i), registro);
                else
                    atribuirOuRegistrar(m_c, r, d.campo.constData(), l.texto(i), registro);
            }
            if (m_forma.zor) {
                atribuirOuRegistrar(m_c, r, "N_SUFRAMA", l.texto(m_posSuframa), registro);
                const auto [eMunic, eEstad] = municipioLido(l.texto(m_posMunicipioEntrega).toLongLong());
                const auto [cMunic, cEstad] = municipioLido(l.texto(m_posMunicipioCobranca).toLongLong());
                r.setText("E_MUNIC", text::fit(eMunic, 30));
                r.setText("E_ESTAD", text::fit(eEstad, 2));
                r.setText("C_MUNIC", text::fit(cMunic, 30));
                r.setText("C_ESTAD", text::fit(cEstad, 2));
            }
        } catch (const std::exception& e) {
            m_c.erro(QStringLiteral("Erro (0) ao gravar cliente!|Cliente: ") + sobre + QLatin1Char('|') +
                     QString::fromUtf8(e.what()));
            return false;
        }
        return true;
    }

    bool falha(const QString& sobre) {
        m_c.erro(QStringLiteral("Erro (") + QString::number(m_clientes.error().number()) +
                 QStringLiteral(") ao gravar cliente!|Cliente: ") + sobre);
        return false;
    }

    ContextoComunicacao& m_c;
    const Forma& m_forma;
    PassoDownload& m_passo;
    Table& m_clientes;
    Table& m_municip;
    // The step writes no municipality: each one is read once for all the customers that name it.
    std::unordered_map<long long, std::pair<QString, QString>> m_municipiosLidos;
    const std::pair<QString, QString>& municipioLido(long long id) {
        auto it = m_municipiosLidos.find(id);
        if (it == m_municipiosLidos.end())
            it = m_municipiosLidos.emplace(id, municipio(m_municip, id)).first;
        return it->second;
    }
    Table& m_outro; // a second cursor in the same transaction, for the document look-ups
    TabelasEnvio& m_tabelas;
    const std::vector<QString>& m_nomes;
    const std::vector<Destino> m_mapa;
    const bool m_todos;
    const int m_rep;
    Record m_lido; // the stored customer, as read before the server's values go in
    bool m_vazia;  // no customer was in the folder when the step began
    // The columns read by name, placed once for the step.
    const size_t m_posRazao = posicao("razao"), m_posDocumento = posicao("cgcpf"),
                 m_posVendedor = posicao("cod_vendedor"), m_posVendedor2 = posicao("cod_vendedor2"),
                 m_posVendedor3 = posicao("cod_vendedor3"), m_posSuframa = posicao("inscr_suframa"),
                 m_posMunicipioEntrega = posicao("id_municipio_entrega"),
                 m_posMunicipioCobranca = posicao("id_municipio_cobranca");
};

bool baixar(ContextoComunicacao& c, const Forma& forma) {
    Table clientes(c.store, "clientes"), pedidos(c.store, "pedidos"), peditens(c.store, "peditens"),
        pedacess(c.store, "pedacess"), socios(c.store, "socios"), municip(c.store, "municip");
    PassoDownload passo(c, QStringLiteral(" Clientes..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Clientes..."),
                       {&clientes, &pedidos, &peditens, &pedacess, &socios}))
        return false;
    if (!municip.open())
        return passo.falhaGravacao(municip.error(), QStringLiteral(") ao abrir municip!"));
    CursorTransacao outro(clientes);
    if (!outro.aberto()) {
        c.erro(QStringLiteral("Erro (") + QString::number(clientes.error().number()) +
               QStringLiteral(") ao gravar cliente!|Cliente: "));
        return false;
    }
    TabelasEnvio tabelas{pedidos, peditens, pedacess, clientes, socios};
    // A folder's first customers are indexed by name once at the end; over a filled folder a run
    // writes only the customers that changed, and those keep the index in step as they are written.
    const bool vazia = semRegistros(outro.tabela());
    if (vazia && !passo.indiceDeNomesNoFim(clientes, QStringLiteral(") ao gravar cliente!|Cliente: ")))
        return false;

    static const std::vector<QString> nomesZor = colunas(kSelectZor);
    static const std::vector<QString> nomesGerente = colunas(kSelectGerente);
    const std::vector<QString>& nomes = forma.zor ? nomesZor : nomesGerente;
    // A salesperson who sells to every customer takes them all; otherwise only their own.
    const bool todos = todosOsClientes(c);
    const QString comando = QString::fromLatin1(forma.select) + filtro(c, forma.zor, todos);
    BaixaClientes baixa(c, forma, passo, clientes, municip, outro.tabela(), tabelas, nomes, todos, vazia);
    const bool ok = passo.percorrer(
        comando, [&](const Linha& l) { return baixa.gravar(l); },
        // A refused statement shows the server's text alone, without the statement.
        PassoDownload::ErroComando::SoTexto);
    return ok && passo.concluir();
}

} // namespace

bool baixarClientesZor(ContextoComunicacao& c) {
    return !passoRoda(c, "zor") || baixar(c, formaZor());
}

bool baixarClientesGerente(ContextoComunicacao& c) {
    return !passoRoda(c, "gerente") || baixar(c, formaGerente());
}

} // namespace qav::sync
