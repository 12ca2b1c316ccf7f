#pragma once
// Rows for the product and reference-list tests, written into real table files.

#include "store/core/Table.h"

#include <QString>
#include <QTest>

namespace qav::test {

struct NovoProduto {
    int idEmpresa = 1;
    int id = 0;
    QString codigo;
    QString nome;
    int ativo = 1;
    QString preco = QStringLiteral("0");
    QString qtdEmbalagem = QStringLiteral("0");
    bool promocional = false;
    QString refer;
};

inline NovoProduto produtoDe(int idEmpresa, int id, const QString& codigo, const QString& nome, int ativo = 1,
                             const QString& preco = QStringLiteral("0")) {
    NovoProduto p;
    p.idEmpresa = idEmpresa;
    p.id = id;
    p.codigo = codigo;
    p.nome = nome;
    p.ativo = ativo;
    p.preco = preco;
    return p;
}

inline Decimal dec(const QString& text) {
    return *Decimal::parse(text.toStdString());
}

inline void addProduto(Table& produto, const NovoProduto& p) {
    produto.clear();
    produto.rec().setInteger("ID_EMPRESA", p.idEmpresa);
    produto.rec().setInteger("ID", p.id);
    produto.rec().setText("CODIGO", p.codigo);
    produto.rec().setText("NOME", p.nome);
    produto.rec().setText("REFER", p.refer);
    produto.rec().setInteger("ATIVO", p.ativo);
    produto.rec().setDecimal("PRECO", dec(p.preco));
    produto.rec().setDecimal("QTD_EMBALAGEM", dec(p.qtdEmbalagem));
    produto.rec().setInteger("PRECO_PROMOCIONAL", p.promocional ? 1 : 0);
    QVERIFY2(produto.add() == Status::Ok, qPrintable(produto.error().text));
}

inline void addPauta(Store& store, int id, int idEmpresa, int codigo, const QString& descricao,
                     int exclusiva = 0) {
    Table pauta(store, "pauta");
    QVERIFY(pauta.open());
    pauta.rec().setInteger("ID", id);
    pauta.rec().setInteger("ID_EMPRESA", idEmpresa);
    pauta.rec().setInteger("CODIGO", codigo);
    pauta.rec().setText("NUM_PAUTA", QStringLiteral("P%1").arg(codigo));
    pauta.rec().setText("DESCRICAO", descricao);
    pauta.rec().setInteger("PAUTA_EXCLUSIVA_CLIENTE", exclusiva);
    QVERIFY2(pauta.add() == Status::Ok, qPrintable(pauta.error().text));
}

inline void addPreco(Store& store, int idPauta, int idProduto, const QString& preco1) {
    Table pauxpro(store, "pauxpro");
    QVERIFY(pauxpro.open());
    pauxpro.rec().setInteger("ID_PAUTA", idPauta);
    pauxpro.rec().setInteger("ID_PROD", idProduto);
    pauxpro.rec().setDecimal("PRECO1", dec(preco1));
    QVERIFY2(pauxpro.add() == Status::Ok, qPrintable(pauxpro.error().text));
}

} // namespace qav::test
