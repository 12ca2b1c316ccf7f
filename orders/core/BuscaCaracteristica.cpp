#include "orders/core/BuscaCaracteristica.h"

#include "store/core/Table.h"
#include "store/core/Text.h"

#include <algorithm>

namespace qav {

namespace {

constexpr const char* kCampos[BuscaCaracteristica::kCaracteristicas] = {"CARAC1", "CARAC2", "CARAC3",
                                                                        "CARAC4", "CARAC5"};
constexpr const char* kSubgrupos[3] = {"COD_ACESS1", "COD_ACESS2", "COD_ACESS3"};

// Two characteristics are the same value when the characteristics key holds them as one: letter
// case and trailing blanks do not count.
bool mesmoValor(const QString& a, const QString& b) {
    return text::foldKey(a) == text::foldKey(b);
}

int inteiro(const Record& r, const char* campo) {
    return static_cast<int>(r.integer(campo));
}

} // namespace

BuscaCaracteristica::BuscaCaracteristica(Store& store, int idEmpresa)
    : m_store(store), m_idEmpresa(idEmpresa) {}

QString BuscaCaracteristica::escolhido(int n) const {
    return n >= 0 && n < kCaracteristicas ? m_escolhidos[static_cast<size_t>(n)] : QString();
}

void BuscaCaracteristica::escolher(int n, const QString& valor) {
    if (n < 0 || n >= kCaracteristicas)
        return;
    m_escolhidos[static_cast<size_t>(n)] = text::rtrim(valor);
    for (int depois = n + 1; depois < kCaracteristicas; ++depois)
        m_escolhidos[static_cast<size_t>(depois)].clear();
}

bool BuscaCaracteristica::percorrer(int fixos, const std::function<void(const Record&)>& visitar) {
    m_erro = {};
    Table produtos(m_store, "produto");
    if (!produtos.open()) {
        m_erro = produtos.error();
        return false;
    }
    produtos.setFilter("\"ID_EMPRESA\" = ? AND \"ATIVO\" <> 0", {m_idEmpresa});
    produtos.clear();
    for (int i = 0; i < fixos; ++i)
        produtos.rec().setText(kCampos[i], m_escolhidos[static_cast<size_t>(i)]);
    Status status = fixos > 0 ? produtos.seek("KEYCARAC", fixos) : produtos.seekFirst("KEYCARAC");
    while (status == Status::Ok && (status = produtos.next()) == Status::Ok) {
        const Record& r = produtos.rec();
        for (int i = 0; i < fixos; ++i)
            if (!mesmoValor(r.text(kCampos[i]), m_escolhidos[static_cast<size_t>(i)]))
                return true; // past the chosen values: no later product has them
        visitar(r);
    }
    if (status == Status::Error) {
        m_erro = produtos.error();
        return false;
    }
    return true;
}

std::vector<QString> BuscaCaracteristica::valores(int n) {
    std::vector<QString> lista;
    if (n < 0 || n >= kCaracteristicas)
        return lista;
    const char* campo = kCampos[n];
    const bool lido = percorrer(n, [&](const Record& r) {
        const QString valor = text::rtrim(r.text(campo));
        // The key keeps equal values together, so a repeated value follows its first.
        if (!valor.isEmpty() && (lista.empty() || !mesmoValor(lista.back(), valor)))
            lista.push_back(valor);
    });
    if (!lido)
        lista.clear();
    return lista;
}

std::vector<ProdutoCaracteristica> BuscaCaracteristica::produtos() {
    std::vector<ProdutoCaracteristica> lista;
    const bool nadaEscolhido =
        std::all_of(m_escolhidos.begin(), m_escolhidos.end(), [](const QString& v) { return v.isEmpty(); });
    if (nadaEscolhido)
        return lista;
    const bool lido = percorrer(kCaracteristicas, [&](const Record& r) {
        ProdutoCaracteristica p;
        p.id = inteiro(r, "ID");
        p.codigo = text::rtrim(r.text("CODIGO"));
        p.nome = QStringLiteral("%1 - %2").arg(p.id, 6, 10, QChar(u'0')).arg(text::rtrim(r.text("NOME")));
        for (size_t i = 0; i < p.subgrupos.size(); ++i)
            p.subgrupos[i] = inteiro(r, kSubgrupos[i]);
        lista.push_back(std::move(p));
    });
    if (!lido)
        lista.clear();
    return lista;
}

std::vector<SubgrupoExigido> BuscaCaracteristica::subgruposExigidos(const ProdutoCaracteristica& produto) {
    m_erro = {};
    std::vector<SubgrupoExigido> lista;
    for (const int codigo : produto.subgrupos) {
        // A subgroup named twice asks for one accessory: the item takes one accessory per subgroup.
        const bool repetido = std::any_of(lista.begin(), lista.end(),
                                          [codigo](const SubgrupoExigido& s) { return s.codigo == codigo; });
        if (codigo != 0 && !repetido)
            lista.push_back({codigo, {}, {}});
    }
    if (lista.empty())
        return lista;
    Table acessorios(m_store, "acessori");
    if (!acessorios.open()) {
        m_erro = acessorios.error();
        return {};
    }
    acessorios.setFilter("\"ID_EMPRESA\" = ? AND \"ATIVO\" <> 0", {m_idEmpresa});
    for (SubgrupoExigido& subgrupo : lista) {
        acessorios.clear();
        acessorios.rec().setInteger("COD_SUBGRUPO", subgrupo.codigo);
        Status status = acessorios.seek("KEY_SUBGRUPO");
        while (status == Status::Ok && (status = acessorios.next()) == Status::Ok) {
            const Record& r = acessorios.rec();
            if (inteiro(r, "COD_SUBGRUPO") != subgrupo.codigo)
                break;
            if (subgrupo.descricao.isEmpty())
                subgrupo.descricao = text::rtrim(r.text("DESCR_SUBGRUPO"));
            subgrupo.acessorios.push_back(
                {inteiro(r, "ID_ACESSORIO"), text::rtrim(r.text("DESCRICAO")), r.decimal("PRECO")});
        }
        if (status == Status::Error) {
            m_erro = acessorios.error();
            return {};
        }
    }
    return lista;
}

ConfirmacaoCaracteristica confirmarCaracteristica(const ProdutoCaracteristica& produto,
                                                  const std::vector<SubgrupoExigido>& exigidos,
                                                  const std::vector<int>& escolhidos) {
    EscolhaCaracteristica escolha{produto.id, produto.codigo, {}};
    for (size_t i = 0; i < exigidos.size(); ++i) {
        const int linha = i < escolhidos.size() ? escolhidos[i] : -1;
        const std::vector<AcessorioOferecido>& oferecidos = exigidos[i].acessorios;
        if (linha < 0 || static_cast<size_t>(linha) >= oferecidos.size())
            return {std::nullopt, static_cast<int>(i)};
        const AcessorioOferecido& a = oferecidos[static_cast<size_t>(linha)];
        escolha.acessorios.push_back({a.id, exigidos[i].codigo, a.preco});
    }
    return {std::move(escolha), -1};
}

} // namespace qav
