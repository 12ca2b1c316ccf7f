#pragma once
// A data folder with real table files and a program folder for the settings, with helpers that add
// customers, municipalities and the company's configuration, and that act on the modal window the
// code under test opens next.

#include "customers/widgets/ContextoClientes.h"
#include "customers/widgets/FichaCliente.h"
#include "store/core/Record.h"
#include "store/core/Table.h"
#include "tests/support/Registros.h"
#include "tests/support/TempDataFolder.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace qav::test {

class FixtureClientes {
public:
    static constexpr int idEmpresa = 1;

    FixtureClientes() {
        municipio(10, QStringLiteral("CAMPINAS"), QStringLiteral("SP"));
        adicionar(dados.store(), "qavcfg.tps", [](Record& r) {
            r.setInteger("ID_EMPRESA", idEmpresa);
            r.setInteger("COD_VENDEDOR", 12);
        });
    }

    ContextoClientes contexto() const { return {dados.path(), programa.path(), idEmpresa}; }

    // The customer form for `pedido`, shown; nullptr when it refuses to open.
    std::unique_ptr<FichaCliente> abrir(Requisicao pedido, std::int64_t id = 0) const {
        auto form = std::make_unique<FichaCliente>(contexto(), pedido, id);
        if (!form->preparar())
            return nullptr;
        form->show();
        return form;
    }

    // Chooses the entry of `c` whose data is `valor`, as a user picking it would.
    static void escolher(QComboBox* c, int valor) {
        const int i = c->findData(valor);
        if (i < 0)
            qFatal("no entry %d in %s", valor, qPrintable(c->objectName()));
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
    }
    Store& store() { return dados.store(); }

    void municipio(std::int64_t id, const QString& nome, const QString& uf) {
        adicionar(dados.store(), "municip.tps", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("NOME", nome);
            r.setText("ESTADO", uf);
        });
    }

    void cliente(std::int64_t id, const QString& razao, int ativo = 1, const QString& cgcpf = {}) {
        adicionar(dados.store(), "clientes.tps", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("RAZAO", razao);
            r.setInteger("ATIVO", ativo);
            r.setText("CGCPF", cgcpf);
            r.setInteger("ID_MUNICIPIO", 10);
        });
    }

    void bloqueios(int valor) {
        Table t(dados.store(), "qavcfg.tps");
        t.open();
        t.clear();
        t.rec().setInteger("ID_EMPRESA", idEmpresa);
        if (t.get("KEYID_EMPRESA") != Status::Ok)
            throw std::runtime_error("no configuration");
        t.rec().setInteger("BLOQUEIOS1", valor);
        t.put();
        t.close();
    }

    // The stored customer `id`, or nullopt when there is none.
    std::optional<Record> lerCliente(std::int64_t id) {
        Table t(dados.store(), "clientes.tps");
        t.open();
        t.clear();
        t.rec().setInteger("ID", id);
        std::optional<Record> r;
        if (t.get("KEYID") == Status::Ok)
            r = t.rec();
        t.close();
        return r;
    }

    std::int64_t contar(const char* tabela) {
        Table t(dados.store(), tabela);
        t.open();
        const std::int64_t n = t.count().value_or(-1);
        t.close();
        return n;
    }

private:
    TempDataFolder dados;
    QTemporaryDir programa;
};

} // namespace qav::test
