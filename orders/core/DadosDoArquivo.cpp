#include "orders/core/DadosDoArquivo.h"

#include "orders/core/LeituraRegistro.h"
#include "store/core/Table.h"

#include <set>
#include <type_traits>

namespace qav {

FalhaLeitura carregarDadosDoArquivo(Store& store, const Pedido& pedido, int codVendedor,
                                    const std::vector<int>& produtos, DadosPedido& dados) {
    dados = DadosPedido{};
    const int empresa = pedido.ID_EMPRESA;

    Table clientes(store, "clientes");
    Table municipios(store, "municip");
    Table vendedores(store, "vendedor");
    Table empresas(store, "empresa");
    Table configuracoes(store, "qavcfg");
    Table formas(store, "formapag");
    Table pautas(store, "pauta");
    Table stIcms(store, "sticms");
    Table opcoes(store, "cfgsis");
    Table fretes(store, "cstfrete");
    Table tabelaProdutos(store, "produto");
    Table pautaProdutos(store, "pauxpro");
    const auto falhaDe = [](const Table& t) {
        return FalhaLeitura{QString::fromLatin1(t.def().fileName), t.error()};
    };
    for (Table* t : {&clientes, &municipios, &vendedores, &empresas, &configuracoes, &formas, &pautas,
                     &stIcms, &opcoes, &fretes, &tabelaProdutos, &pautaProdutos})
        if (!t->open())
            return falhaDe(*t);

    // Each look-up: a missing row leaves the struct as zeros; a failing table is remembered (the
    // first one) and the reading goes on, so that the rows that can be read are there.
    Table* falhou = nullptr;
    const auto ler = [&](Table& t, Status status) {
        if (!falhou && status == Status::Error)
            falhou = &t;
    };
    ler(clientes, leitura::linha(clientes, "KEYID", {{"ID", pedido.CLIEN}}, dados.cliente));
    ler(municipios,
        leitura::linha(municipios, "KEYID", {{"ID", dados.cliente.ID_MUNICIPIO}}, dados.municipio));
    ler(vendedores, leitura::linha(vendedores, "KEYCODIGO",
                                   {{"CODIGO", codVendedor}, {"ID_EMPRESA", empresa}}, dados.vendedor));
    ler(empresas, leitura::linha(empresas, "KEYID", {{"ID_EMPRESA", empresa}}, dados.empresa));
    ler(configuracoes,
        leitura::linha(configuracoes, "KEYID_EMPRESA", {{"ID_EMPRESA", empresa}}, dados.qavcfg));
    // The payment form and the price list are the order's only when it names one of its company that
    // exists.
    const auto daEmpresa = [&](Table& t, int codigo, auto& destino) {
        if (codigo == 0)
            return;
        typename std::remove_reference_t<decltype(destino)>::value_type linha;
        const Status s = leitura::linha(t, "KEYCODIGO", {{"CODIGO", codigo}, {"ID_EMPRESA", empresa}}, linha);
        ler(t, s);
        if (s == Status::Ok)
            destino = linha;
    };
    daEmpresa(formas, pedido.COD_FORMAPAG, dados.formaPag);
    daEmpresa(pautas, pedido.COD_PAUTA, dados.pauta);
    ler(stIcms, leitura::todas(stIcms, "KEYCOD_ST2", dados.stIcms));
    ler(opcoes, leitura::todas(opcoes, "KEYCODIGO", dados.cfgSis));
    ler(fretes, leitura::todas(fretes, "KEY_REGIAO_MUN_CARREG", dados.cstFrete));

    std::set<int> vistos;
    for (const int idProduto : produtos) {
        if (falhou || !vistos.insert(idProduto).second)
            continue;
        Produto produto;
        const Status s =
            leitura::linha(tabelaProdutos, "KEYID", {{"ID", idProduto}, {"ID_EMPRESA", empresa}}, produto);
        ler(tabelaProdutos, s);
        if (s == Status::Ok)
            dados.adicionarProduto(produto);
        if (dados.pauta) {
            PautaProduto linha;
            const Status sp = leitura::linha(pautaProdutos, "KEYPRODUTO",
                                             {{"ID_PROD", idProduto}, {"ID_PAUTA", dados.pauta->ID}}, linha);
            ler(pautaProdutos, sp);
            if (sp == Status::Ok)
                dados.adicionarPautaProduto(linha);
        }
    }
    return falhou ? falhaDe(*falhou) : FalhaLeitura{};
}

} // namespace qav
