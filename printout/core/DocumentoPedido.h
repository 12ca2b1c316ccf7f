#pragma once
// One order as its printout shows it: the order's own values and those of the customer, the issuer,
// the salesperson, the payment form, the price list and every item with its product and accessories,
// each looked up once. A record that is missing prints blank.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/Store.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav::impressao {

struct ItemImpresso {
    int idVendasi = 0;
    bool produtoEncontrado = false;
    QString codigo;             // PRO:CODIGO
    QString descricao;          // product name, item note, pieces x length; at most 120 characters
    QString unidade;            // PRO:UNIDA
    Decimal quantidade;         // VDAI:QTD
    Decimal precoUnitario;      // VDAI:PRUNI
    Decimal descontoPercentual; // VDAI:DESCP
    Decimal descontoValor;      // VDAI:DESCV
    Decimal total;              // VDAI:TOTAL
    Decimal valorDescontoTotal; // VDAI:VL_DESC_TOTAL
    Decimal valorIpi;           // VDAI:VL_IPI
    Decimal valorIcmsSt;        // VDAI:VL_ICMSST
    Decimal comissao;           // VDAI:COMIS
    bool precoComIpi = false;   // VDAI:PRECO_COM_IPI
    Decimal aliquotaIpi;        // PRO:ALIQ_IPI
    Decimal quantidadeVolume;   // PRO:QTD_VOLUME
    QString acessorios;         // "subgroup: accessory, ..." note line; empty when none
};

struct Emitente {
    QString nome, endereco, complemento, bairro, cep, municipio, uf, fone, fax, email;
};

struct ClienteImpresso {
    int id = 0;
    QString razao, endereco, numero, complemento, bairro, cep, municipio, estado, cgcpf, inscricao, ddd,
        telefone, fax, email, emailQav;
};

struct DocumentoPedido {
    int id = 0;
    int idEmpresa = 0;
    int numero = 0; // VDA:NUMER
    Date data;
    QString contato; // VDA:CONTA
    int fconta = 0;  // who pays the freight
    int codPauta = 0;
    Decimal totalProdutos, ipi, frete, total, desconto, icmsSt, pesoBruto, volumeM3;
    Decimal descontoPercentual; // VDA:DESCP, the order's first discount
    QString observacao, observacaoEntrega;

    Emitente emitente;
    ClienteImpresso cliente;
    QString vendedor;         // VEN:NOME
    QString formaPagamento;   // FORPAG:DESCR
    QString pauta;            // PAUTA:DESCRICAO
    QString transportador;    // TRA:NOME of the order's carrier
    QString naturezaOperacao; // the order type's name ("Venda Normal", ...)
    std::vector<ItemImpresso> itens;
};

enum class OrdemItens { Produto, Entrada };

struct FalhaLeitura {
    QString texto;
};

// Reads order `idPedido` and everything its printout shows. Items in product order (product id,
// then note) or in entry order. nullopt with `falha` when the order is not there or a table cannot
// be read.
std::optional<DocumentoPedido> lerDocumento(Store& store, int idPedido, OrdemItens ordem,
                                            FalhaLeitura* falha);

// Whether the order has at least one item (a printout of none is refused).
bool pedidoTemItens(Store& store, int idPedido);

} // namespace qav::impressao
