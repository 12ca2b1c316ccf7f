#include "sync/core/envio/SociosZor.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/envio/CorrentZor.h"
#include "sync/core/execucao/CursorTransacao.h"

#include <set>
#include <vector>

namespace qav::sync {

QString identidadeSocio(const QString& cpf, const QString& nome) {
    QString documento;
    for (const QChar ch : cpf)
        if (ch.isLetterOrNumber())
            documento += ch.toUpper();
    if (!documento.isEmpty())
        return QStringLiteral("D:") + documento;
    return QStringLiteral("N:") + text::foldCase(nome.trimmed());
}

bool enviarSocios(const ContextoComunicacao& contexto, Table& socios, int idLocal, int idServidor) {
    CursorTransacao cursor(socios);
    Table& t = cursor.tabela();
    std::vector<Record> locais;
    Status s = cursor.aberto() ? Status::Ok : Status::Error;
    if (s == Status::Ok) {
        t.clear();
        t.rec().setInteger("ID_CLIENTE", idLocal);
        s = t.seek("KEYID_CLIENTE");
        while (s == Status::Ok) {
            s = t.next();
            if (s != Status::Ok || t.rec().integer("ID_CLIENTE") != idLocal)
                break;
            locais.push_back(t.rec());
        }
    }
    if (s == Status::Error) {
        contexto.aviso(QStringLiteral("Erro (") + QString::number(t.error().number()) +
                       QStringLiteral(") ao ler sócio/local!"));
        return false;
    }
    if (locais.empty())
        return true;

    Conexao& conexao = contexto.conexao;
    ErroSql erro;
    const auto noServidor =
        conexao.consultar(QStringLiteral("SELECT cpf, nome FROM gestao.socios WHERE id_cliente=") +
                              Conexao::inteiro(idServidor) + QLatin1Char(';'),
                          &erro);
    if (!noServidor) {
        contexto.erroSql(erro);
        return false;
    }
    std::set<QString> presentes;
    for (const Linha& linha : *noServidor)
        presentes.insert(identidadeSocio(linha.texto(0), linha.texto(1)));

    for (const Record& socio : locais) {
        const QString identidade = identidadeSocio(socio.text("CPF_CNPJ"), socio.text("NOME"));
        if (presentes.count(identidade))
            continue;
        const QString comando =
            QStringLiteral("INSERT INTO gestao.socios(id_cliente, nome, cpf, naciona, ma_entrada, vl_quotas, "
                           "funcao) VALUES (") +
            Conexao::inteiro(idServidor) + QStringLiteral(", ") + textoEnvio(conexao, socio.text("NOME")) +
            QStringLiteral(", ") + textoEnvio(conexao, socio.text("CPF_CNPJ")) + QStringLiteral(", ") +
            textoEnvio(conexao, socio.text("NACIONA")) + QStringLiteral(", ") +
            Conexao::data(socio.date("MA_ENTRADA")) + QStringLiteral(", ") +
            realEnvio(socio.real("VL_QUOTAS"), 2) + QStringLiteral(", ") +
            textoEnvio(conexao, socio.text("FUNCAO")) + QStringLiteral(");");
        if (!conexao.executar(comando, &erro)) {
            contexto.ouvinte.mensagem(QStringLiteral("Erro (") + erro.codigo + QStringLiteral(")/sócio"),
                                      erro.texto, Icone::Erro);
            return false;
        }
        presentes.insert(identidade);
    }
    return true;
}

} // namespace qav::sync
