#include "tools/qavdemo/DemoData.h"

#include "base/core/Settings.h"
#include "customers/core/DocumentChecks.h"
#include "dbtool/core/Converter.h"
#include "orders/core/CamposPedido.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "tools/qavdemo/PedidoDemo.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <array>
#include <memory>
#include <vector>

namespace qav::demo {

namespace {

// --- check digits ---

int mod11Digit(const std::vector<int>& digits, const std::vector<int>& weights) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i)
        sum += digits[i] * weights[i];
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

std::vector<int> digitsOf(std::uint64_t value, int count) {
    std::vector<int> digits(static_cast<size_t>(count));
    for (int i = count - 1; i >= 0; --i) {
        digits[static_cast<size_t>(i)] = static_cast<int>(value % 10);
        value /= 10;
    }
    return digits;
}

QString digitText(const std::vector<int>& digits) {
    QString text;
    for (int d : digits)
        text += QChar(u'0' + d);
    return text;
}

// --- reference data ---

struct Cidade {
    const char* nome;
    const char* uf;
    int ibge;
    int regiao;
    const char* cep; // first five digits of a CEP of the city
};

// Real municipalities with their IBGE codes.
const std::array<Cidade, 40> kCidades = {{
    {"São Paulo", "SP", 3550308, 1, "01310"},
    {"Guarulhos", "SP", 3518800, 1, "07010"},
    {"Osasco", "SP", 3534401, 1, "06010"},
    {"Santo André", "SP", 3547809, 1, "09010"},
    {"São Bernardo do Campo", "SP", 3548708, 1, "09710"},
    {"Campinas", "SP", 3509502, 2, "13010"},
    {"Santos", "SP", 3548500, 2, "11010"},
    {"São José dos Campos", "SP", 3549904, 2, "12210"},
    {"Ribeirão Preto", "SP", 3543402, 2, "14010"},
    {"Sorocaba", "SP", 3552205, 2, "18010"},
    {"Jundiaí", "SP", 3525904, 2, "13201"},
    {"Piracicaba", "SP", 3538709, 2, "13400"},
    {"Bauru", "SP", 3506003, 2, "17010"},
    {"São José do Rio Preto", "SP", 3549805, 2, "15010"},
    {"Taubaté", "SP", 3554102, 2, "12010"},
    {"Belo Horizonte", "MG", 3106200, 3, "30110"},
    {"Uberlândia", "MG", 3170206, 3, "38400"},
    {"Contagem", "MG", 3118601, 3, "32010"},
    {"Juiz de Fora", "MG", 3136702, 3, "36010"},
    {"Betim", "MG", 3106705, 3, "32600"},
    {"Montes Claros", "MG", 3143302, 3, "39400"},
    {"Uberaba", "MG", 3170107, 3, "38010"},
    {"Rio de Janeiro", "RJ", 3304557, 4, "20040"},
    {"Niterói", "RJ", 3303302, 4, "24020"},
    {"Vitória", "ES", 3205309, 4, "29010"},
    {"Curitiba", "PR", 4106902, 5, "80010"},
    {"Londrina", "PR", 4113700, 5, "86010"},
    {"Maringá", "PR", 4115200, 5, "87010"},
    {"Porto Alegre", "RS", 4314902, 5, "90010"},
    {"Caxias do Sul", "RS", 4305108, 5, "95010"},
    {"Florianópolis", "SC", 4205407, 5, "88010"},
    {"Joinville", "SC", 4209102, 5, "89201"},
    {"Blumenau", "SC", 4202404, 5, "89010"},
    {"Goiânia", "GO", 5208707, 6, "74003"},
    {"Brasília", "DF", 5300108, 6, "70040"},
    {"Campo Grande", "MS", 5002704, 6, "79002"},
    {"Salvador", "BA", 2927408, 7, "40010"},
    {"Recife", "PE", 2611606, 7, "50010"},
    {"Fortaleza", "CE", 2304400, 7, "60010"},
    {"Natal", "RN", 2408102, 7, "59010"},
}};

const std::array<const char*, 8> kRegioes = {"",
                                             "Grande São Paulo",
                                             "Interior de São Paulo",
                                             "Minas Gerais",
                                             "Rio de Janeiro e Espírito Santo",
                                             "Sul",
                                             "Centro-Oeste",
                                             "Nordeste"};

struct Grupo {
    const char* nome;
    const char* ncm;
    const char* unidade;
    int precoMin; // cents
    int precoMax;
    int ipi;   // percent
    int codSt; // tax-substitution code, 0 = none
    std::array<const char*, 4> itens;
    std::array<const char*, 5> medidas;
};

const std::array<Grupo, 10> kGrupos = {{
    {"Parafusos",
     "73181500",
     "CX",
     1200,
     9800,
     5,
     0,
     {"Parafuso sextavado zincado", "Parafuso Allen cabeça cilíndrica", "Parafuso autoatarraxante Phillips",
      "Parafuso francês galvanizado"},
     {"M6 x 20 mm", "M8 x 30 mm", "M10 x 50 mm", "M12 x 70 mm", "3/8\" x 2\""}},
    {"Porcas e Arruelas",
     "73181600",
     "CX",
     600,
     4500,
     5,
     0,
     {"Porca sextavada zincada", "Arruela lisa galvanizada", "Arruela de pressão",
      "Porca travante com nylon"},
     {"M6", "M8", "M10", "M12", "1/2\""}},
    {"Ferramentas Manuais",
     "82054000",
     "PC",
     1590,
     18900,
     0,
     0,
     {"Chave de fenda", "Alicate universal", "Chave combinada", "Martelo de unha"},
     {"1/8\" x 4\"", "8\"", "13 mm", "17 mm", "27 mm"}},
    {"Ferramentas Elétricas",
     "84672100",
     "PC",
     18900,
     129900,
     10,
     0,
     {"Furadeira de impacto", "Esmerilhadeira angular", "Parafusadeira a bateria", "Serra tico-tico"},
     {"1/2\" 650 W 127 V", "4.1/2\" 850 W 220 V", "12 V", "500 W 127 V", "710 W 220 V"}},
    {"Fechaduras",
     "83014000",
     "PC",
     3990,
     24900,
     10,
     0,
     {"Fechadura externa cromada", "Fechadura interna", "Cadeado de latão", "Fechadura para banheiro"},
     {"40 mm", "55 mm", "25 mm", "35 mm", "50 mm"}},
    {"Dobradiças",
     "83021000",
     "PC",
     350,
     3900,
     10,
     0,
     {"Dobradiça de aço zincada", "Dobradiça de latão", "Dobradiça pivô", "Dobradiça para armário"},
     {"3\" x 2.1/2\"", "3.1/2\"", "35 mm", "4\"", "2\""}},
    {"Tintas",
     "32091010",
     "GL",
     5990,
     49900,
     5,
     1,
     {"Tinta acrílica fosca", "Esmalte sintético brilhante", "Massa corrida", "Selador acrílico"},
     {"branco neve 3,6 L", "branco gelo 18 L", "cinza 3,6 L", "preto 900 ml", "marfim 18 L"}},
    {"Hidráulica",
     "39172300",
     "PC",
     250,
     8900,
     0,
     0,
     {"Tubo PVC soldável", "Joelho 90° PVC", "Registro de gaveta", "Luva de correr PVC"},
     {"20 mm", "25 mm", "32 mm", "3/4\"", "1\""}},
    {"Elétrica",
     "85444900",
     "RL",
     890,
     38900,
     5,
     1,
     {"Cabo flexível 750 V", "Fio rígido", "Disjuntor termomagnético", "Tomada 2P+T 10 A"},
     {"1,5 mm²", "2,5 mm²", "4 mm²", "6 mm²", "10 mm²"}},
    {"Abrasivos",
     "68042211",
     "PC",
     190,
     4900,
     5,
     0,
     {"Disco de corte inox", "Lixa d'água", "Disco flap", "Lixa para madeira"},
     {"4.1/2\" x 1,0 mm", "grão 120", "grão 220", "grão 80", "7\" x 1,6 mm"}},
}};

const std::array<const char*, 12> kPrenomes = {"José",   "Maria",   "Antônio", "Ana",    "João", "Francisca",
                                               "Carlos", "Juliana", "Paulo",   "Márcia", "Luiz", "Fernanda"};
const std::array<const char*, 12> kSobrenomes = {"Silva",     "Santos",  "Oliveira", "Souza",
                                                 "Pereira",   "Lima",    "Carvalho", "Ferreira",
                                                 "Rodrigues", "Almeida", "Gomes",    "Ribeiro"};
const std::array<const char*, 8> kRamos = {"Ferragens",       "Materiais de Construção",
                                           "Comercial",       "Depósito",
                                           "Casa das Tintas", "Madeireira",
                                           "Elétrica",        "Hidráulica"};
const std::array<const char*, 4> kSufixos = {"Ltda", "ME", "Eireli", "S.A."};
const std::array<const char*, 10> kRuas = {
    "Rua XV de Novembro",     "Avenida Brasil",      "Rua Sete de Setembro", "Rua Tiradentes",
    "Avenida Getúlio Vargas", "Rua Dom Pedro II",    "Rua das Flores",       "Avenida Santos Dumont",
    "Rua São Paulo",          "Rua Marechal Deodoro"};
const std::array<const char*, 8> kBairros = {"Centro",     "Vila Nova", "Jardim América", "Industrial",
                                             "Santa Cruz", "Boa Vista", "São José",       "Vila Maria"};

struct Forma {
    int codigo;
    const char* descr;
    std::vector<int> prazos;
};

const std::array<Forma, 5> kFormas = {{
    {1, "À vista", {0}},
    {2, "28 dias", {28}},
    {3, "28/56 dias", {28, 56}},
    {4, "30/60/90 dias", {30, 60, 90}},
    {5, "28/42/56/70 dias", {28, 42, 56, 70}},
}};

// Days past the due date from which an open title keeps the customer's orders from being released.
constexpr int kDiasBloqCredito = 30;
// Products 1 and 2 have a maximum discount below the representative's.
constexpr int kProdutosDescontoMenor = 2;
// The ERP takes a product's maximum discount from its subgroup: one subgroup for the common maximum,
// one for the lower one.
constexpr int kSubgrupoComum = 101;
constexpr int kSubgrupoDescontoMenor = 102;

// The ERP keeps the IPI rate with the tax situation, so each rate has a situation of its own: 1 is
// the one with ICMS substitution rules (its products pay 5% IPI), 10 + the rate the others.
int situacaoTributaria(int ipi, int codSt) {
    return codSt != 0 ? codSt : 10 + ipi;
}

Decimal cents(std::int64_t value) {
    return Decimal(static_cast<long long>(value)) / Decimal(100);
}
Decimal percent(int whole) {
    return Decimal(whole);
}

// The composite ids of price lists and payment forms: the code followed by the company id in four
// digits (code 25 of company 1 gives 250001).
int compositeId(int codigo, int idEmpresa) {
    return codigo * 10000 + idEmpresa;
}

// Formats a CEP from the city's five digits and three more.
QString cep(const char* prefix, int suffix) {
    return QString::fromLatin1(prefix) + QLatin1Char('-') +
           QStringLiteral("%1").arg(suffix, 3, 10, QLatin1Char('0'));
}

class Generator {
public:
    Generator(Store& store, const Options& options)
        : m_store(store), m_options(options), m_rng(options.seed),
          m_hoje(options.hoje.isNull() ? Clock::today() : options.hoje) {}

    bool run(Outcome& outcome);

private:
    // A table opened for a batch of adds; the batch commits when it ends.
    class Batch {
    public:
        Batch(Generator& g, const char* name) : m_g(g), m_table(g.m_store, name) {
            m_ok = m_table.open() && m_table.beginBatch();
        }
        ~Batch() {
            if (m_table.isOpen())
                m_table.close();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        Record& rec() { return m_table.rec(); }
        void clear() { m_table.clear(); }
        void add() {
            if (m_ok && m_table.add() != Status::Ok) {
                m_ok = false;
                m_g.fail(m_table);
            }
            ++m_count;
        }
        bool finish() {
            if (!m_ok) {
                m_table.rollbackBatch();
                return false;
            }
            if (!m_table.endBatch()) {
                m_g.fail(m_table);
                return false;
            }
            m_g.m_outcome->records[QString::fromLatin1(m_table.def().fileName)] = m_count;
            return true;
        }

    private:
        Generator& m_g;
        Table m_table;
        bool m_ok = false;
        std::int64_t m_count = 0;
    };

    void fail(const Table& table) {
        if (m_outcome->error.isEmpty())
            m_outcome->error = QStringLiteral("Erro (%1) ao gravar %2: %3 %4")
                                   .arg(table.error().number())
                                   .arg(QString::fromLatin1(table.def().fileName), table.error().text,
                                        table.error().driverText);
    }

    int between(int low, int high) { return static_cast<int>(m_rng.bounded(low, high + 1)); }
    template <typename T, size_t N> const T& pick(const std::array<T, N>& items) {
        return items[m_rng.bounded(static_cast<quint32>(N))];
    }
    std::uint64_t draw(std::uint64_t low, std::uint64_t high) {
        return low + m_rng.generate64() % (high - low + 1);
    }
    QString telefone(int ddd) {
        return QStringLiteral("(%1)%2-%3")
            .arg(ddd)
            .arg(between(3000, 3999))
            .arg(between(0, 9999), 4, 10, QLatin1Char('0'));
    }
    static int dddOf(const Cidade& c);

    bool empresa();
    bool configuracao();
    bool vendedor();
    bool municipios();
    bool grupos();
    bool produtos();
    bool pautas();
    bool formasDePagamento();
    bool apoio();
    bool substituicao();
    bool fretes();
    bool clientes();
    bool receber();
    bool historico();
    bool clientesNomeados(Batch& t);
    bool pedidos();
    int outroVendedor() const { return m_options.codVendedor + 1; }
    // An active customer of the representative whose credit limit is at least twice `valor`, taken in
    // turn from `proximo` on; the one with the highest limit when none is; 0 when there is none at all.
    int clienteComLimite(double valor, size_t& proximo) const;

    Store& m_store;
    Options m_options;
    QRandomGenerator m_rng;
    Date m_hoje;
    Outcome* m_outcome = nullptr;

    struct Produto {
        int id;
        Decimal preco;
        int ipi;
        QString nome;
    };
    std::vector<Produto> m_produtos;
    struct Cliente {
        int id;
        double limite; // LIMCRED
        bool ativo;
    };
    std::vector<Cliente> m_clientes;
    QSet<QString> m_documentos;
    // The customers named after the check they let the user try.
    int m_clienteEmAtraso = 0;
    int m_clienteSemLimite = 0;
    int m_clienteOutroVendedor = 0;
};

int Generator::dddOf(const Cidade& c) {
    const QString uf = QString::fromLatin1(c.uf);
    if (uf == QLatin1String("SP"))
        return c.regiao == 1 ? 11 : 19;
    if (uf == QLatin1String("MG"))
        return 31;
    if (uf == QLatin1String("RJ"))
        return 21;
    if (uf == QLatin1String("PR"))
        return 41;
    if (uf == QLatin1String("RS"))
        return 51;
    if (uf == QLatin1String("SC"))
        return 47;
    return 61;
}

bool Generator::run(Outcome& outcome) {
    m_outcome = &outcome;
    return empresa() && configuracao() && vendedor() && municipios() && grupos() && produtos() && pautas() &&
           formasDePagamento() && apoio() && substituicao() && fretes() && clientes() && receber() &&
           historico() && pedidos();
}

bool Generator::empresa() {
    Batch t(*this, "empresa");
    const Cidade& sede = kCidades[7]; // São José dos Campos
    t.clear();
    Record& r = t.rec();
    r.setInteger("ID_EMPRESA", m_options.idEmpresa);
    r.setText("NOME", QStringLiteral("Vale Ferragens Distribuidora Ltda"));
    r.setText("ENDER", QStringLiteral("Avenida dos Astronautas, 1500"));
    r.setText("COMPLEMENTO", QStringLiteral("Galpão 3"));
    r.setText("MUNIC", QString::fromUtf8(sede.nome));
    r.setText("BAIRR", QStringLiteral("Jardim da Granja"));
    r.setText("UF", QString::fromLatin1(sede.uf));
    r.setText("FONE", QStringLiteral("(12)3908-4500"));
    r.setText("FAX", QStringLiteral("(12)3908-4501"));
    r.setText("CNPJ", cnpjFrom(48123456, 1));
    r.setText("IE", inscricaoFrom(QStringLiteral("SP"), 645123));
    r.setInteger("ID_PORTADOR_PADRAO", 1);
    r.setText("CEP", QStringLiteral("12227-000"));
    r.setText("EMAIL", QStringLiteral("vendas@valeferragens.com.br"));
    r.setInteger("ID_MUNICIPIO", 8);
    r.setDecimal("TX_FINANCEIRA", cents(250));
    r.setInteger("ID_EMPRESA_PROD", m_options.idEmpresa);
    r.setInteger("ID_EMPRESA_GRUP", m_options.idEmpresa);
    t.add();
    return t.finish();
}

bool Generator::configuracao() {
    Batch t(*this, "qavcfg");
    t.clear();
    Record& r = t.rec();
    r.setInteger("ID_EMPRESA", m_options.idEmpresa);
    r.setText("BD_HOST", QStringLiteral("erp.valeferragens.com.br"));
    r.setInteger("BD_PORTA", 5432);
    r.setText("BD_USUARIO", QStringLiteral("qav"));
    r.setText("BD_NOME", QStringLiteral("zor"));
    r.setInteger("COD_VENDEDOR", m_options.codVendedor);
    r.setText("SENHA_VENDEDOR", QStringLiteral("demo"));
    r.setText("PONTO_INSTALACAO", QStringLiteral("1"));
    r.setText("NOME_USUARIO", QStringLiteral("Carlos Eduardo Pereira"));
    r.setInteger("CD_PRECO", 1);
    r.setInteger("ACEITA_ACESSORIOS", 0);
    r.setDate("DT_ULT_COM", m_hoje);
    r.setInteger("DIAS_BLOQUEIO", 30);
    r.setInteger("SISTEMA_BLOQUEADO", 0);
    r.setInteger("COD_PAUTA1", 1);
    r.setInteger("COD_PAUTA2", 2);
    r.setInteger("PRECO_PADRAO", 0); // the three prices of each product are offered
    r.setInteger("BLOQUEIOS1", 4);   // credit limit tested on release
    r.setText("ORIGEM_DESCMAX", QStringLiteral("P"));
    r.setInteger("ATIVA_REL_COM", 1);
    r.setText("TP_ESTOQUE", QStringLiteral("N"));
    r.setText("BLOQ_RELATORIOS", QStringLiteral("N"));
    r.setText("BLOQ_VOLUMES", QStringLiteral("N"));
    r.setInteger("PERMITIR_FLEX", 1);
    r.setDecimal("SALDO_FLEX", cents(15000));
    r.setInteger("DIAS_BLOQ_CREDITO", kDiasBloqCredito);
    r.setInteger("MODELO_PEDIDO", 0); // every printout model offered
    r.setInteger("DIAS_HISTORICO", 180);
    r.setInteger("QAV_HUB", 0);
    r.setText("TP_COM", QStringLiteral("Z"));
    r.setText("SISTEMA", QStringLiteral("zor"));
    t.add();
    return t.finish();
}

bool Generator::vendedor() {
    Batch t(*this, "vendedor");
    t.clear();
    Record& r = t.rec();
    r.setInteger("ID_VENDEDOR", 1);
    r.setInteger("ID_EMPRESA", m_options.idEmpresa);
    r.setInteger("CODIGO", m_options.codVendedor);
    r.setInteger("ATIVO", 1);
    r.setText("NOME", QStringLiteral("Carlos Eduardo Pereira"));
    r.setText("ENDER", QStringLiteral("Rua Emílio Winther, 210"));
    r.setText("BAIRRO", QStringLiteral("Centro"));
    r.setText("MUNIC", QStringLiteral("Taubaté"));
    r.setText("UF", QStringLiteral("SP"));
    r.setText("CEP", QStringLiteral("12030-000"));
    r.setText("CGCPF", cpfFrom(345678901));
    r.setText("FONE", QStringLiteral("(12)99123-4567"));
    r.setText("E_MAIL", QStringLiteral("carlos.pereira@valeferragens.com.br"));
    r.setInteger("DATA", m_hoje.addDays(-900).dayNumber());
    r.setInteger("SIT_ATUAL", 1);
    r.setText("FORMA_PAG", QStringLiteral("F"));
    r.setInteger("ORIGEM_COM", 1);
    r.setDecimal("TAXA_COMISSAO", cents(500));
    r.setInteger("COD_PAUTA1", 1);
    r.setInteger("COD_PAUTA2", 2);
    r.setDecimal("TX_DESCMAX", cents(1000));
    r.setDecimal("DESC_PAUTA_FLEX", cents(300));
    r.setDecimal("DESC_RATEIO_COM", cents(500));
    r.setInteger("QAV_TODOS_CLIENTES", 0); // sells only to the customers of the representative
    r.setInteger("PERMITIR_ANALISE_LUCRO", 1);
    r.setDecimal("VL_PED_MINIMO", cents(30000));
    t.add();

    // A colleague of another region, whose customers this representative may not sell to.
    t.clear();
    Record& o = t.rec();
    o.setInteger("ID_VENDEDOR", 2);
    o.setInteger("ID_EMPRESA", m_options.idEmpresa);
    o.setInteger("CODIGO", outroVendedor());
    o.setInteger("ATIVO", 1);
    o.setText("NOME", QStringLiteral("Ana Paula Ribeiro"));
    o.setText("MUNIC", QStringLiteral("Campinas"));
    o.setText("UF", QStringLiteral("SP"));
    o.setText("CGCPF", cpfFrom(456789012));
    o.setInteger("DATA", m_hoje.addDays(-700).dayNumber());
    o.setInteger("SIT_ATUAL", 1);
    o.setInteger("ORIGEM_COM", 1);
    o.setDecimal("TAXA_COMISSAO", cents(500));
    o.setInteger("COD_PAUTA1", 1);
    t.add();
    return t.finish();
}

bool Generator::municipios() {
    Batch t(*this, "municip");
    int id = 0;
    for (const Cidade& c : kCidades) {
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID", ++id);
        r.setInteger("COD_RAIS", c.ibge / 10); // the six-digit code, without the check digit
        r.setInteger("CODIGO", c.ibge);
        r.setText("NOME", QString::fromUtf8(c.nome));
        r.setText("ESTADO", QString::fromLatin1(c.uf));
        r.setInteger("ID_REGIAO", c.regiao);
        r.setDecimal("CST_FRETE_M3", cents(4500 + c.regiao * 1750));
        t.add();
    }
    return t.finish();
}

bool Generator::grupos() {
    Batch t(*this, "grupo");
    int id = 0;
    for (const Grupo& g : kGrupos) {
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID_EMPRESA", m_options.idEmpresa);
        r.setInteger("ID", ++id);
        r.setText("NOME", QString::fromUtf8(g.nome));
        r.setInteger("TIPO", 1);
        r.setDate("DA", m_hoje.addDays(-400));
        r.setDecimal("DESC_PADRAO", cents(200));
        r.setDecimal("DESC_MAX", cents(id % 3 == 0 ? 1500 : 1000));
        t.add();
    }
    return t.finish();
}

bool Generator::produtos() {
    Batch t(*this, "produto");
    m_produtos.reserve(static_cast<size_t>(m_options.produtos));
    for (int id = 1; id <= m_options.produtos; ++id) {
        const int grupo = (id - 1) % static_cast<int>(kGrupos.size());
        const Grupo& g = kGrupos[static_cast<size_t>(grupo)];
        const int variante = (id - 1) / static_cast<int>(kGrupos.size());
        const QString nome = QStringLiteral("%1 %2").arg(
            QString::fromUtf8(g.itens[static_cast<size_t>(variante % 4)]),
            QString::fromUtf8(g.medidas[static_cast<size_t>((variante / 4) % 5)]));
        const QString linha = variante >= 20 ? QStringLiteral(" linha %1").arg(variante / 20 + 1) : QString();
        const Decimal preco = cents(between(g.precoMin, g.precoMax));
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID_EMPRESA", m_options.idEmpresa);
        r.setInteger("ID", id);
        r.setText("CODIGO", QStringLiteral("%1").arg(id, 6, 10, QLatin1Char('0')));
        r.setText("COD_BARRAS", ean13From(789100000000ULL + static_cast<std::uint64_t>(id)));
        r.setText("NOME", nome + linha);
        r.setText("REFER", QStringLiteral("%1-%2").arg(QString::fromUtf8(g.nome).left(3).toUpper()).arg(id));
        r.setInteger("ATIVO", id % 97 == 0 ? 0 : 1);
        r.setText("TIPO", QStringLiteral("00")); // the ERP's type of a product for sale
        r.setText("UNIDA", QString::fromLatin1(g.unidade));
        r.setText("COD_NCM", QString::fromLatin1(g.ncm));
        r.setDecimal("PESOL", Decimal(between(50, 25000)) / Decimal(1000));
        r.setDecimal("PESOB", r.decimal("PESOL") + Decimal(between(10, 500)) / Decimal(1000));
        r.setDecimal("PESO_FATOR", r.decimal("PESOB")); // the profit analysis measures price per weight
        r.setDecimal("VOL_M3", Decimal(between(100, 90000)) / Decimal(1000000));
        r.setDecimal("QTD_VOLUME", Decimal(1));
        r.setDecimal("PRECO", preco);
        r.setDecimal("PREC2", (preco * Decimal(97) / Decimal(100)).rounded(2));
        r.setDecimal("PREC3", (preco * Decimal(94) / Decimal(100)).rounded(2));
        r.setDate("DATAP", m_hoje.addDays(-between(1, 60)));
        // The first two products allow less discount than the representative may give.
        r.setDecimal("DESC_MAX", cents(id <= kProdutosDescontoMenor ? 500 : 1000));
        r.setDecimal("DESC_PADRAO", Decimal(0));
        r.setInteger("COD_ST", situacaoTributaria(g.ipi, g.codSt));
        r.setDecimal("ALIQ_IPI", percent(g.ipi));
        r.setDecimal("QTD_ESTOQUE", Decimal(between(0, 2500)));
        r.setText("PERMITE_ACESSORIOS", QStringLiteral("N"));
        // Found by characteristics too: group, item, measure.
        r.setText("CARAC1", QString::fromUtf8(g.nome).toUpper());
        r.setText("CARAC2", QString::fromUtf8(g.itens[static_cast<size_t>(variante % 4)]).toUpper());
        r.setText("CARAC3", QString::fromUtf8(g.medidas[static_cast<size_t>((variante / 4) % 5)]).toUpper());
        r.setInteger("SIT_ATUAL", 1);
        r.setDecimal("TAXA_COMISSAO", cents(id % 5 == 0 ? 300 : 500));
        r.setDate("DATA", m_hoje.addDays(-between(30, 700)));
        r.setInteger("GRUPO", grupo + 1);
        r.setInteger("SUBGR", id <= kProdutosDescontoMenor ? kSubgrupoDescontoMenor : kSubgrupoComum);
        r.setDecimal("CTREP", (preco * Decimal(60) / Decimal(100)).rounded(2));
        r.setText("CLASSE_ABC", id % 10 < 2 ? QStringLiteral("A")
                                            : (id % 10 < 5 ? QStringLiteral("B") : QStringLiteral("C")));
        r.setDecimal("QTD_EMBALAGEM", Decimal(1));
        r.setDecimal("ALIQ_PIS", cents(165));
        r.setDecimal("ALIQ_COFINS", cents(760));
        r.setDecimal("LOTE_MUL_VENDA", Decimal(1));
        t.add();
        m_produtos.push_back({id, preco, g.ipi, nome + linha});
    }
    return t.finish();
}

bool Generator::pautas() {
    {
        Batch t(*this, "pauta");
        const std::array<const char*, 2> descricao = {"Tabela Padrão", "Tabela Promocional"};
        for (int codigo = 1; codigo <= 2; ++codigo) {
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID", compositeId(codigo, m_options.idEmpresa));
            r.setInteger("ID_EMPRESA", m_options.idEmpresa);
            r.setInteger("CODIGO", codigo);
            r.setText("NUM_PAUTA",
                      QStringLiteral("%1/%2").arg(m_hoje.year()).arg(codigo, 2, 10, QLatin1Char('0')));
            r.setDate("DT_CADAST", m_hoje.addDays(-45));
            r.setText("DESCRICAO", QString::fromUtf8(descricao[static_cast<size_t>(codigo - 1)]));
            r.setInteger("ATIVO", 1);
            r.setDate("DT_INI", m_hoje.addDays(-30));
            r.setDate("DT_FIM", m_hoje.addDays(codigo == 1 ? 150 : 30));
            r.setDecimal("TAXA_COMISSAO", percent(codigo == 1 ? 5 : 3));
            r.setInteger("PRAZO_MEDIO", 42);
            r.setDecimal("VL_PEDIDO1", cents(100000));
            r.setDecimal("TX_DESCONTO1", cents(200));
            r.setDecimal("VL_PEDIDO2", cents(500000));
            r.setDecimal("TX_DESCONTO2", cents(500));
            r.setInteger("BLOQ_DESCONTOS", codigo == 2 ? 1 : 0); // promotional prices take no discount
            t.add();
        }
        if (!t.finish())
            return false;
    }
    Batch t(*this, "pauxpro");
    for (int codigo = 1; codigo <= 2; ++codigo) {
        for (const Produto& p : m_produtos) {
            // The promotional list is 8% below the standard one.
            const Decimal base = codigo == 1 ? p.preco : (p.preco * Decimal(92) / Decimal(100)).rounded(2);
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID_PAUTA", compositeId(codigo, m_options.idEmpresa));
            r.setInteger("ID_PROD", p.id);
            r.setDecimal("PRECO1", base);
            r.setDecimal("PRECO2", (base * Decimal(97) / Decimal(100)).rounded(2));
            r.setDecimal("PRECO3", (base * Decimal(94) / Decimal(100)).rounded(2));
            r.setDecimal("CST_REP", (base * Decimal(60) / Decimal(100)).rounded(2));
            r.setDecimal("VALOR1", base.rounded(2));
            r.setText("BC_COMISSAO", QStringLiteral("LIQUIDO"));
            t.add();
        }
    }
    return t.finish();
}

bool Generator::formasDePagamento() {
    {
        Batch t(*this, "formapag");
        for (const Forma& f : kFormas) {
            Decimal medio;
            for (int prazo : f.prazos)
                medio += Decimal(prazo);
            medio = medio / Decimal(static_cast<int>(f.prazos.size()));
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID_FORMAPAG", compositeId(f.codigo, m_options.idEmpresa));
            r.setInteger("ID_EMPRESA", m_options.idEmpresa);
            r.setInteger("CODIGO", f.codigo);
            r.setText("DESCR", QString::fromUtf8(f.descr));
            r.setDecimal("DESCO", f.codigo == 1 ? cents(500) : Decimal(0));
            r.setDecimal("ACRESC", f.prazos.size() > 3 ? cents(150) : Decimal(0));
            r.setInteger("NUMPARC", static_cast<int>(f.prazos.size()));
            r.setInteger("COBR_BAN", f.codigo == 1 ? 0 : 1);
            r.setInteger("SIT_ATUAL", 1);
            r.setDecimal("PRAZO_MEDIO", medio.rounded(2));
            r.setInteger("ID_PORTADOR", 1);
            r.setInteger("LIBERA_CREDITO", f.codigo == 1 ? 1 : 0);
            t.add();
        }
        if (!t.finish())
            return false;
    }
    Batch t(*this, "prazopag");
    for (const Forma& f : kFormas) {
        const int parcelas = static_cast<int>(f.prazos.size());
        for (int n = 0; n < parcelas; ++n) {
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID", compositeId(f.codigo, m_options.idEmpresa));
            r.setInteger("NUMPARC", n + 1);
            r.setInteger("PRAZO", f.prazos[static_cast<size_t>(n)]);
            // Equal shares, the last one taking what is left so that they add up to 100.
            const double share = 100.0 / parcelas;
            r.setReal("PORPAG", n + 1 < parcelas ? share : 100.0 - share * (parcelas - 1));
            t.add();
        }
    }
    return t.finish();
}

// Bearers, carriers and order types.
bool Generator::apoio() {
    {
        Batch t(*this, "portador");
        const std::array<std::pair<const char*, int>, 2> bancos = {
            {{"Banco do Brasil", 1}, {"Itaú Unibanco", 341}}};
        int id = 0;
        for (const auto& [nome, codigo] : bancos) {
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID", ++id);
            r.setText("NOME", QString::fromUtf8(nome));
            r.setText("BANCO", QString::fromUtf8(nome));
            r.setInteger("C_BAN", codigo);
            r.setText("AGENC", QStringLiteral("Agência Centro"));
            r.setText("C_AGE", QStringLiteral("%1").arg(1200 + id * 7));
            r.setText("MUNIC", QStringLiteral("São José dos Campos"));
            r.setText("UF", QStringLiteral("SP"));
            r.setInteger("COBRA", 1);
            t.add();
        }
        if (!t.finish())
            return false;
    }
    {
        Batch t(*this, "transp");
        const std::array<const char*, 3> nomes = {"Transportadora Rápido Paulista Ltda",
                                                  "Expresso Mineiro Cargas Ltda", "Sul Log Transportes S.A."};
        int id = 0;
        for (const char* nome : nomes) {
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID", ++id);
            r.setText("NOME", QString::fromUtf8(nome));
            r.setText("MUNIC", QString::fromUtf8(kCidades[static_cast<size_t>(id * 7)].nome));
            r.setText("UF", QString::fromLatin1(kCidades[static_cast<size_t>(id * 7)].uf));
            r.setText("CGCPF", cnpjFrom(draw(10000000, 99999999), 1));
            r.setText("PLACA", QStringLiteral("ABC%1D%2").arg(id).arg(between(10, 99)));
            r.setText("FONE", telefone(11));
            t.add();
        }
        if (!t.finish())
            return false;
    }
    Batch t(*this, "qavtipoped");
    const std::array<const char*, 2> tipos = {"Venda", "Bonificação"};
    int id = 0;
    for (const char* tipo : tipos) {
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID", ++id);
        r.setInteger("ID_EMPRESA", m_options.idEmpresa);
        r.setInteger("COD_VENDEDOR", m_options.codVendedor);
        r.setText("DESCRICAO", QString::fromUtf8(tipo));
        r.setInteger("ATIVO", 1);
        r.setInteger("COD_TES", id == 1 ? 501 : 510);
        t.add();
    }
    return t.finish();
}

bool Generator::substituicao() {
    struct Uf {
        const char* uf;
        int aliq;    // ICMS rate from São Paulo
        int interna; // the state's own rate
        int mva;     // value-added margin
    };
    const std::array<Uf, 7> ufs = {{{"SP", 18, 18, 40},
                                    {"MG", 12, 18, 48},
                                    {"RJ", 12, 20, 52},
                                    {"PR", 12, 19, 47},
                                    {"SC", 12, 17, 45},
                                    {"RS", 12, 17, 45},
                                    {"GO", 7, 17, 56}}};
    Batch t(*this, "sticms");
    for (const Uf& u : ufs) {
        for (int contribuinte : {1, 2}) { // taxpayer companies and individuals
            t.clear();
            Record& r = t.rec();
            r.setInteger("ID_EMPRESA", m_options.idEmpresa);
            r.setInteger("COD_ST", 1);
            r.setText("UF", QString::fromLatin1(u.uf));
            r.setInteger("CONTRIBUINTE_ICMS", contribuinte);
            r.setDecimal("PERC_BC_ICMS", Decimal(100));
            r.setDecimal("ALIQ_ICMS", percent(u.aliq));
            r.setText("MODAL_BC_ICMSST", QStringLiteral("4"));
            r.setDecimal("PERC_MARG_VL_ICMSST", percent(contribuinte == 1 ? u.mva : 0));
            r.setDecimal("ALIQ_ICMSST", percent(contribuinte == 1 ? u.interna : 0));
            r.setInteger("SOMAR_ICMSST_NF", 1);
            t.add();
        }
    }
    return t.finish();
}

bool Generator::fretes() {
    Batch t(*this, "cstfrete");
    for (int regiao = 1; regiao < static_cast<int>(kRegioes.size()); ++regiao) {
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID_REGIAO", regiao);
        r.setInteger("ID_MUN_CARREG", 8); // loaded in São José dos Campos
        r.setDate("DT_ATUAL", m_hoje.addDays(-20));
        r.setDecimal("VL_CUSTO_M3", cents(6000 + regiao * 2250));
        r.setDecimal("VL_CUSTO_KG", Decimal(35 + regiao * 12) / Decimal(100));
        r.setDecimal("TX_FRETE", cents(150 + regiao * 50));
        r.setText("NM_REGIAO", QString::fromUtf8(kRegioes[static_cast<size_t>(regiao)]));
        r.setText("NM_MUN_CARREG", QStringLiteral("São José dos Campos"));
        t.add();
    }
    return t.finish();
}

bool Generator::clientes() {
    Batch t(*this, "clientes");
    for (int id = 1; id <= m_options.clientes; ++id) {
        const size_t municipio = m_rng.bounded(static_cast<quint32>(kCidades.size()));
        const Cidade& c = kCidades[municipio];
        const bool fisica = id % 5 == 0;
        QString documento;
        do {
            documento = fisica ? cpfFrom(draw(100000000, 999999999)) : cnpjFrom(draw(10000000, 99999999), 1);
        } while (m_documentos.contains(documento));
        m_documentos.insert(documento);
        const QString sobrenome = QString::fromUtf8(pick(kSobrenomes));
        const QString razao =
            fisica ? QString::fromUtf8(pick(kPrenomes)) + QLatin1Char(' ') + sobrenome
                   : QStringLiteral("%1 %2 %3")
                         .arg(QString::fromUtf8(pick(kRamos)), sobrenome, QString::fromUtf8(pick(kSufixos)));
        const QString fantasia =
            fisica ? razao : QStringLiteral("%1 %2").arg(QString::fromUtf8(pick(kRamos)), sobrenome);
        const QString uf = QString::fromLatin1(c.uf);
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID", id);
        r.setInteger("ATIVO", id % 23 == 0 ? 0 : 1);
        r.setInteger("PESSO", fisica ? 2 : 1);
        r.setInteger("CONSFINAL", fisica ? 1 : 0);
        r.setText("CGCPF", documento);
        r.setText("INSCR", fisica ? QStringLiteral("ISENTO") : inscricaoFrom(uf, m_rng.generate64()));
        r.setInteger("INDICADOR_IE", fisica ? 9 : 1);
        r.setText("NOME", fantasia);
        r.setText("RAZAO", razao);
        r.setText("ENDER", QString::fromUtf8(pick(kRuas)));
        r.setText("NUM_ENDERECO", QString::number(between(10, 3999)));
        r.setText("BAIRR", QString::fromUtf8(pick(kBairros)));
        r.setInteger("ID_MUNICIPIO", static_cast<int>(municipio) + 1);
        r.setText("CEP", cep(c.cep, between(0, 999)));
        r.setText("E_MAIL", QStringLiteral("compras%1@cliente-demo.com.br").arg(id));
        r.setText("EMAIL_QAV", QStringLiteral("compras%1@cliente-demo.com.br").arg(id));
        r.setText("UF", uf);
        r.setText("DDD", QString::number(dddOf(c)));
        r.setText("TELEF", telefone(dddOf(c)).mid(4));
        r.setDate("DATA", m_hoje.addDays(-between(60, 2000)));
        r.setInteger("COD_VENDEDOR", m_options.codVendedor);
        r.setText("CLASSE", QStringLiteral("B"));
        const double limite = static_cast<double>(between(10, 300)) * 100.0;
        r.setReal("LIMCRED", limite);
        r.setInteger("LIB_CRED", 1);
        r.setInteger("TOLATR", 5);
        r.setInteger("FORMA_PAG", between(1, static_cast<int>(kFormas.size())));
        r.setInteger("SIT_ATUAL", 1);
        r.setInteger("COD_PAUTA", 1);
        r.setInteger("ID_REGIAO", c.regiao);
        r.setText("RAMO_ATIV", fisica ? QString() : QStringLiteral("Comércio varejista de ferragens"));
        t.add();
        m_clientes.push_back({id, limite, id % 23 != 0});
    }
    return clientesNomeados(t) && t.finish();
}

// One customer for each customer check of the order form, named after it.
bool Generator::clientesNomeados(Batch& t) {
    struct Nomeado {
        const char* razao;
        int* id;
        int codVendedor;
        double limite;
        int libCred;
    };
    const std::array<Nomeado, 3> nomeados = {{
        {"CLIENTE COM TÍTULOS EM ATRASO LTDA", &m_clienteEmAtraso, m_options.codVendedor, 20000.0, 1},
        {"CLIENTE SEM LIMITE DE CRÉDITO LTDA", &m_clienteSemLimite, m_options.codVendedor, 500.0, 0},
        {"CLIENTE DE OUTRO REPRESENTANTE LTDA", &m_clienteOutroVendedor, outroVendedor(), 15000.0, 1},
    }};
    const Cidade& c = kCidades[7]; // São José dos Campos
    int id = m_options.clientes;
    for (const Nomeado& n : nomeados) {
        *n.id = ++id;
        QString documento;
        do {
            documento = cnpjFrom(draw(10000000, 99999999), 1);
        } while (m_documentos.contains(documento));
        m_documentos.insert(documento);
        const QString uf = QString::fromLatin1(c.uf);
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID", id);
        r.setInteger("ATIVO", 1);
        r.setInteger("PESSO", 1);
        r.setText("CGCPF", documento);
        r.setText("INSCR", inscricaoFrom(uf, m_rng.generate64()));
        r.setInteger("INDICADOR_IE", 1);
        r.setText("NOME", QString::fromUtf8(n.razao));
        r.setText("RAZAO", QString::fromUtf8(n.razao));
        r.setText("ENDER", QString::fromUtf8(pick(kRuas)));
        r.setText("NUM_ENDERECO", QString::number(between(10, 3999)));
        r.setText("BAIRR", QString::fromUtf8(pick(kBairros)));
        r.setInteger("ID_MUNICIPIO", 8);
        r.setText("CEP", cep(c.cep, between(0, 999)));
        r.setText("E_MAIL", QStringLiteral("compras%1@cliente-demo.com.br").arg(id));
        r.setText("EMAIL_QAV", QStringLiteral("compras%1@cliente-demo.com.br").arg(id));
        r.setText("UF", uf);
        r.setText("DDD", QString::number(dddOf(c)));
        r.setText("TELEF", telefone(dddOf(c)).mid(4));
        r.setDate("DATA", m_hoje.addDays(-between(60, 2000)));
        r.setInteger("COD_VENDEDOR", n.codVendedor);
        r.setText("CLASSE", QStringLiteral("B"));
        r.setReal("LIMCRED", n.limite);
        r.setInteger("LIB_CRED", n.libCred);
        r.setInteger("TOLATR", 5);
        r.setInteger("FORMA_PAG", 2);
        r.setInteger("SIT_ATUAL", 1);
        r.setInteger("COD_PAUTA", 1);
        r.setInteger("ID_REGIAO", c.regiao);
        r.setText("RAMO_ATIV", QStringLiteral("Comércio varejista de ferragens"));
        t.add();
    }
    return true;
}

// Every customer has a paid title and an open one; every fourth also an overdue one. The customer
// named for it has a paid title and one long overdue.
bool Generator::receber() {
    Batch t(*this, "ctr");
    int numero = 0;
    const auto titulo = [&](int cliente, Date emissao, Date vencimento, const Decimal& valor, bool pago) {
        t.clear();
        Record& r = t.rec();
        r.setInteger("ID_EMPRESA", m_options.idEmpresa);
        r.setText("NUMER", QStringLiteral("%1").arg(++numero, 7, 10, QLatin1Char('0')));
        r.setText("DOCTO", QStringLiteral("NF %1").arg(100000 + numero));
        r.setInteger("DEVED", cliente);
        r.setDate("EMISS", emissao);
        r.setDate("VECTO", vencimento);
        r.setDecimal("VALOR", valor);
        if (pago) { // on the due date
            r.setDate("DATA_RECBTO", vencimento);
            r.setDecimal("RECBT", valor);
            r.setDecimal("SALDO", Decimal(0));
        } else {
            r.setDecimal("SALDO", valor);
        }
        r.setDecimal("BCOMIS", valor);
        r.setDecimal("COMIS", cents(500));
        r.setText("PORTADOR", QStringLiteral("Banco do Brasil"));
        r.setText("CARTEIRA", QStringLiteral("Simples"));
        t.add();
    };
    for (const Cliente& c : m_clientes) {
        for (int kind = 0; kind < (c.id % 4 == 0 ? 3 : 2); ++kind) {
            const Decimal valor = cents(between(15000, 450000));
            const Date emissao = m_hoje.addDays(kind == 0 ? -between(40, 120)
                                                          : (kind == 1 ? -between(1, 20) : -between(50, 90)));
            const Date vencimento =
                kind == 0 ? emissao.addDays(28)
                          : (kind == 1 ? m_hoje.addDays(between(5, 40))
                                       // overdue, but not yet long enough to hold the customer's orders
                                       : m_hoje.addDays(-between(5, kDiasBloqCredito - 5)));
            titulo(c.id, emissao, vencimento, valor, kind == 0);
        }
    }
    titulo(m_clienteEmAtraso, m_hoje.addDays(-98), m_hoje.addDays(-70), cents(98000), true);
    titulo(m_clienteEmAtraso, m_hoje.addDays(-68), m_hoje.addDays(-(kDiasBloqCredito + 10)), cents(185040),
           false);
    return t.finish();
}

// Two history orders per customer with three items each, as the back office recorded them.
bool Generator::historico() {
    Batch pedcon(*this, "pedcon");
    Batch pedicon(*this, "pedicon");
    int id = 0;
    for (const Cliente& c : m_clientes) {
        const int cliente = c.id;
        for (int k = 0; k < 2; ++k) {
            ++id;
            const Date data = m_hoje.addDays(-between(10, 170));
            const int situacao = k == 0 ? 3 : (id % 7 == 0 ? 4 : (id % 3 == 0 ? 2 : 3));
            Decimal total;
            for (int ordem = 1; ordem <= 3; ++ordem) {
                const Produto& p = m_produtos[m_rng.bounded(static_cast<quint32>(m_produtos.size()))];
                const Decimal qtd(between(1, 40));
                const Decimal desconto = cents(between(0, 4) * 100);
                total += (qtd * p.preco * (Decimal(100) - desconto) / Decimal(100)).rounded(2);
                pedicon.clear();
                Record& i = pedicon.rec();
                i.setInteger("ID_PEDCON", id);
                i.setInteger("ORDEM", ordem);
                i.setInteger("ID_EMPRESA", m_options.idEmpresa);
                i.setInteger("NUM_PEDIDO", 50000 + id);
                i.setInteger("ID_PRODUTO", p.id);
                i.setText("DESCR_PRODUTO", p.nome);
                i.setDecimal("QTDADE", qtd);
                i.setDecimal("DESCP", desconto);
                i.setDecimal("PRECO_UNIT", p.preco);
                pedicon.add();
            }
            pedcon.clear();
            Record& r = pedcon.rec();
            r.setInteger("ID_PEDCON", id);
            r.setInteger("ID_EMPRESA", m_options.idEmpresa);
            r.setInteger("NUMERO", 50000 + id);
            // An open order is the ERP's order itself; a closed one comes as its delivery.
            r.setInteger("NUM_ENTREGA", situacao == 2 ? 0 : 1);
            r.setDate("DATA_PEDIDO", data);
            r.setDate("DATA_PREV_FATUR", data.addDays(7));
            if (situacao != 2)
                r.setDate("DATA_FATUR", data.addDays(between(3, 9)));
            r.setInteger("SITUACAO", situacao);
            r.setInteger("ID_CLIENTE", cliente);
            r.setText("CONTATO", QString::fromUtf8(pick(kPrenomes)));
            r.setInteger("ID_VENDEDOR", m_options.codVendedor);
            r.setText("PRAZO", QString::fromUtf8(kFormas[static_cast<size_t>(id % 5)].descr));
            r.setDecimal("VALOR_TOTAL", total);
            r.setText("TIPO", situacao == 2 ? QStringLiteral("P") : QStringLiteral("E"));
            r.setText("NUM_PED_QAV", QString::number(id));
            if (situacao == 3) {
                r.setInteger("NUM_NF", 100000 + id);
                r.setInteger("SIT_PED", 4);
            }
            pedcon.add();
        }
    }
    return pedcon.finish() && pedicon.finish();
}

int Generator::clienteComLimite(double valor, size_t& proximo) const {
    const Cliente* maior = nullptr;
    for (size_t n = 0; n < m_clientes.size(); ++n) {
        const Cliente& c = m_clientes[(proximo + n) % m_clientes.size()];
        if (!c.ativo)
            continue;
        if (c.limite >= 2 * valor) {
            proximo = (proximo + n + 1) % m_clientes.size();
            return c.id;
        }
        if (maior == nullptr || c.limite > maior->limite)
            maior = &c;
    }
    return maior != nullptr ? maior->id : 0;
}

// Orders of the representative in every situation, and pending ones that each run into one of the
// checks made when an order is released (in the order they are made). Each is entered as the order
// form enters it: prices of its price list, the payment form's discount in the header, the item
// discount typed, everything else computed by the order rules.
bool Generator::pedidos() {
    enum class Quem { Comum, SemLimite, EmAtraso };
    struct Demo {
        int situacao;
        Quem cliente;
        int formaPag;
        int pauta;
        bool flex;
        int valor; // what the items come to before discounts, in reais, about
        int itens;
        int desconto;              // item discount, in hundredths of a percent
        bool produtoDescontoMenor; // the first item is a product with a lower maximum discount
        const char* obs;
    };
    const std::array<Demo, 13> demos = {{
        {1, Quem::Comum, 2, 1, true, 900, 3, 0, false, "Pronto para liberar"},
        {1, Quem::Comum, 3, 1, true, 150, 2, 0, false, "Abaixo do valor mínimo do pedido"},
        {2, Quem::Comum, 4, 1, true, 1200, 3, 0, false, "Liberado para transmissão"},
        {3, Quem::Comum, 1, 1, true, 800, 3, 0, false, "Transmitido"},
        {3, Quem::Comum, 5, 2, true, 1500, 2, 0, false, "Transmitido"},
        {4, Quem::Comum, 2, 1, true, 600, 2, 200, false, "Cancelado"},
        {1, Quem::Comum, 1, 1, true, 800, 2, 1200, false, "Desconto acima do máximo do vendedor"},
        {1, Quem::Comum, 2, 1, false, 600, 2, 700, true, "Desconto acima do máximo do produto"},
        {1, Quem::Comum, 2, 2, true, 700, 2, 300, false, "Desconto em pauta que não permite descontos"},
        {1, Quem::Comum, 2, 1, true, 700, 2, 900, false, "Desconto maior que a comissão"},
        {1, Quem::Comum, 2, 1, true, 5000, 3, 750, false, "Flex acima do saldo"},
        {1, Quem::SemLimite, 2, 1, true, 1200, 2, 0, false, "Acima do limite de crédito do cliente"},
        {1, Quem::EmAtraso, 3, 1, true, 900, 2, 0, false, "Cliente com títulos em atraso"},
    }};

    Batch cabecalhos(*this, "pedidos");
    Batch itens(*this, "peditens");
    int id = 0;
    int item = 0;
    size_t proximoCliente = 0;
    // Products for any item: active, and not those with the lower maximum discount (when there are
    // others), with a price that lets the quantity come near the value asked.
    const auto produtoPara = [&](double valor, const QSet<int>& usados) -> const Produto* {
        const Produto* achado = nullptr;
        for (int tentativa = 0; tentativa < 200; ++tentativa) {
            const Produto& p = m_produtos[m_rng.bounded(static_cast<quint32>(m_produtos.size()))];
            const bool comum = p.id > kProdutosDescontoMenor ||
                               static_cast<int>(m_produtos.size()) <= kProdutosDescontoMenor;
            if (usados.contains(p.id) || p.id % 97 == 0 || !comum)
                continue;
            achado = &p;
            if (p.preco.toDouble() * 4 <= valor)
                break;
        }
        return achado;
    };
    for (const Demo& demo : demos) {
        if (m_produtos.empty())
            break;
        const int cliente = demo.cliente == Quem::SemLimite ? m_clienteSemLimite
                            : demo.cliente == Quem::EmAtraso
                                ? m_clienteEmAtraso
                                : clienteComLimite(demo.valor * 1.5, proximoCliente);
        if (cliente == 0)
            continue;
        ++id;
        Pedido pedido;
        pedido.ID = id;
        pedido.ID_EMPRESA = m_options.idEmpresa;
        // Every order has its number from the moment it is entered (the highest + 1).
        pedido.NUMER = id;
        pedido.SITUA = demo.situacao;
        pedido.CLIEN = cliente;
        pedido.COD_FORMAPAG = demo.formaPag;
        pedido.COD_PAUTA = demo.pauta;
        pedido.TIPOV = 1;
        pedido.FCONTA = 1; // "Emitente (CIF)": no order is confirmed without one side paying the freight
        pedido.ID_MUN_CARGA = 8; // loaded where the freight costs are quoted from, for the profit analysis
        pedido.PED_FLEX = demo.flex ? 1 : 0;
        pedido.OBS = QString::fromUtf8(demo.obs);

        std::vector<PedidoItem> linhas;
        QSet<int> usados;
        const double porItem = static_cast<double>(demo.valor) / demo.itens;
        for (int n = 0; n < demo.itens; ++n) {
            const Produto* p = nullptr;
            if (n == 0 && demo.produtoDescontoMenor)
                p = &m_produtos.front();
            else
                p = produtoPara(porItem, usados);
            if (p == nullptr) // a folder of very few products
                break;
            usados.insert(p->id);
            PedidoItem linha;
            linha.ID_VENDASI = ++item;
            linha.ID_VENDA = id;
            linha.PRODU = p->id;
            linha.QTD = Decimal(std::max(1, static_cast<int>(porItem / p->preco.toDouble() + 0.5)));
            linha.DESCP = cents(demo.desconto);
            linhas.push_back(linha);
        }

        DadosPedido dados;
        QString erro;
        if (!carregarDados(m_store, pedido, linhas, dados, erro)) {
            m_outcome->error = erro;
            return false;
        }
        // Choosing the payment form brings its discount into the header.
        pedido.DESCP = dados.formaPagOuZeros().DESCO;
        pedido.COMIS = dados.vendedor.ORIGEM_COM == 1 ? dados.vendedor.TAXA_COMISSAO : Decimal();
        montarPedido(pedido, linhas, dados);

        for (const PedidoItem& linha : linhas) {
            itens.clear();
            gravarRegistro(linha, itens.rec());
            itens.add();
        }
        cabecalhos.clear();
        Record& r = cabecalhos.rec();
        gravarRegistro(pedido, r);
        r.setInteger("COD_VENDEDOR", m_options.codVendedor);
        r.setInteger("INF_USUARIO", 1);
        // A transmitted order also carries the number the back office gave it.
        if (demo.situacao == 3)
            r.setInteger("NUM_ERP", 60000 + id);
        r.setInteger(
            "DATA",
            m_hoje.addDays(demo.situacao == 3 ? -20 - id : id - static_cast<int>(demos.size())).dayNumber());
        r.setInteger("TRANSP", 1 + id % 3);
        cabecalhos.add();
    }
    return cabecalhos.finish() && itens.finish();
}

bool folderHasCompany(Store& store) {
    Table empresa(store, "empresa");
    return empresa.open() && empresa.count().value_or(0) > 0;
}

} // namespace

QString cpfFrom(std::uint64_t base9) {
    std::vector<int> d = digitsOf(base9 % 1000000000ULL, 9);
    d.push_back(mod11Digit(d, {10, 9, 8, 7, 6, 5, 4, 3, 2}));
    d.push_back(mod11Digit(d, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
    return docs::formatCpf(digitText(d));
}

QString cnpjFrom(std::uint64_t base8, int filial) {
    std::vector<int> d = digitsOf(base8 % 100000000ULL, 8);
    for (int x : digitsOf(static_cast<std::uint64_t>(filial % 10000), 4))
        d.push_back(x);
    d.push_back(mod11Digit(d, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}));
    d.push_back(mod11Digit(d, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}));
    return docs::formatCnpj(digitText(d));
}

QString inscricaoFrom(const QString& uf, std::uint64_t draw) {
    struct Rule {
        const char* uf;
        const char* prefix;
        int length;
        std::vector<int> checks; // positions of the check digits
    };
    static const std::vector<Rule> rules = {
        {"SP", "", 12, {8, 11}},    {"MG", "", 13, {11, 12}}, {"RJ", "", 8, {7}},    {"ES", "", 9, {8}},
        {"PR", "", 10, {8, 9}},     {"RS", "", 10, {9}},      {"SC", "", 9, {8}},    {"GO", "10", 9, {8}},
        {"DF", "07", 13, {11, 12}}, {"BA", "", 9, {7, 8}},    {"PE", "", 9, {7, 8}}, {"CE", "", 9, {8}},
        {"MS", "28", 9, {8}},       {"RN", "20", 9, {8}},
    };
    for (const Rule& rule : rules) {
        if (uf.compare(QLatin1String(rule.uf), Qt::CaseInsensitive) != 0)
            continue;
        // The base digits come from the draw; the check digits are found by trying each value with the
        // state's own rule, so the registration is valid by the very check the customer form uses.
        for (int attempt = 0; attempt < 20; ++attempt) {
            QString digits = QString::fromLatin1(rule.prefix);
            std::uint64_t source = draw + static_cast<std::uint64_t>(attempt) * 7919ULL;
            while (digits.size() < rule.length) {
                digits += QChar(u'0' + static_cast<int>(source % 10));
                source = source / 10 + (source % 10) * 1000003ULL + 12345ULL;
            }
            const int combos = rule.checks.size() == 1 ? 10 : 100;
            for (int c = 0; c < combos; ++c) {
                QString candidate = digits;
                candidate[rule.checks[0]] = QChar(u'0' + (rule.checks.size() == 1 ? c : c / 10));
                if (rule.checks.size() > 1)
                    candidate[rule.checks[1]] = QChar(u'0' + c % 10);
                if (docs::ieValida(candidate, uf))
                    return candidate;
            }
        }
    }
    return QStringLiteral("ISENTO");
}

QString ean13From(std::uint64_t base12) {
    const std::vector<int> d = digitsOf(base12 % 1000000000000ULL, 12);
    int sum = 0;
    for (size_t i = 0; i < d.size(); ++i)
        sum += d[i] * (i % 2 == 0 ? 1 : 3);
    return digitText(d) + QChar(u'0' + (10 - sum % 10) % 10);
}

Outcome generate(const QString& dataFolder, const Options& options) {
    Outcome outcome;
    if (!QDir().mkpath(dataFolder)) {
        outcome.error = QStringLiteral("Não foi possível criar a pasta %1").arg(dataFolder);
        return outcome;
    }
    // The tables are created (or checked) as the upgrade tool does it, which also writes bd.ver.
    const upgrade::ConversionResult created = upgrade::Converter(dataFolder, {}).run();
    if (!created.completed) {
        outcome.error = QStringLiteral("Erro ao criar as tabelas de %1: %2").arg(dataFolder, created.endText);
        return outcome;
    }
    Store store(dataFolder);
    if (folderHasCompany(store)) {
        outcome.error = QStringLiteral("A pasta %1 já tem dados; nada foi gravado.").arg(dataFolder);
        return outcome;
    }
    Generator generator(store, options);
    outcome.ok = generator.run(outcome);
    if (!outcome.ok && outcome.error.isEmpty())
        outcome.error = QStringLiteral("Erro ao gravar os dados de demonstração.");
    return outcome;
}

bool selectFolder(const QString& programFolder, const QString& pasta, int idEmpresa) {
    const Settings settings(programFolder);
    // The company choice lists only the folders named in the numbered keys (and "dados").
    int free = 0;
    bool listed = pasta.compare(QLatin1String("dados"), Qt::CaseInsensitive) == 0;
    for (int n = 1; n <= Settings::pastasNumeradas && !listed; ++n) {
        const QString name = settings.pastaNumerada(n).trimmed();
        if (name.compare(pasta, Qt::CaseInsensitive) == 0)
            listed = true;
        else if (name.isEmpty() && free == 0)
            free = n;
    }
    if (!listed && (free == 0 || !settings.setPastaNumerada(free, pasta)))
        return false;
    return settings.setPasta(pasta) && settings.setEmpresaDaPasta(pasta, idEmpresa);
}

} // namespace qav::demo
