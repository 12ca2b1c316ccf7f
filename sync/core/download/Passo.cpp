#include "sync/core/download/Passo.h"

#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/execucao/FalhaLocal.h"

#include <exception>
#include <limits>

namespace qav::sync {

namespace {

// Rows between two looks at the progress line, the clock and the user's stop request.
constexpr long long kLinhasEntreAvisos = 200;
constexpr qint64 kMsEntreAvisos = 100;
constexpr long long kLinhasEntreRelogios = 16;

// The page cache of each file a step writes, at most (KiB).
constexpr int kCacheDoPassoKiB = 64 * 1024;

// The record by its key; blank when it is missing or cannot be read.
Record lerPorChave(Store& store, const char* tabela, const char* chave,
                   std::initializer_list<std::pair<const char*, long long>> valores) {
    Table t(store, tabela);
    t.clear();
    if (t.open()) {
        for (const auto& [campo, valor] : valores)
            t.rec().setInteger(campo, valor);
        if (t.get(chave) != Status::Ok)
            t.clear();
    }
    return t.rec();
}

} // namespace

PassoDownload::PassoDownload(ContextoComunicacao& contexto, QString sufixoFim, QString prefixoConclusao)
    : m_contexto(contexto), m_sufixo(std::move(sufixoFim)), m_prefixo(std::move(prefixoConclusao)) {}

PassoDownload::~PassoDownload() {
    if (m_transacao)
        m_transacao->rollback();
    m_contexto.linhaProgresso(QString());
}

bool PassoDownload::iniciar(const QString& textoInicio, std::initializer_list<Table*> tabelas) {
    m_contexto.passoOk = false;
    m_linhas = 0;
    m_contexto.registrar(textoInicio);
    for (Table* t : tabelas)
        if (!t->open())
            return falhaGravacao(t->error(),
                                 QStringLiteral(") ao abrir ") + t->def().tableName() + QLatin1Char('!'));
    m_transacao.emplace(tabelas);
    if (!m_transacao->begin()) {
        const StoreError erro = m_transacao->error();
        m_transacao.reset();
        return falhaGravacao(erro, QStringLiteral(") ao iniciar a gravação!"));
    }
    // A step may write hundreds of thousands of records: a larger page cache keeps them from being
    // written out and read back before the commit.
    m_transacao->enlargeCache(kCacheDoPassoKiB);
    m_relogio.start();
    return true;
}

bool PassoDownload::percorrer(const QString& comando, const std::function<bool(const Linha&)>& porLinha,
                              ErroComando comoMostrar) {
    const auto mostrarErro = [&](const ErroSql& erro) {
        if (comoMostrar == ErroComando::ComComando)
            m_contexto.erroComando(erro);
        else
            m_contexto.erroSemTitulo(erro.texto);
    };
    auto cursor = m_contexto.conexao.abrir(comando);
    Linha linha;
    long long lidas = 0;
    for (;;) {
        const Cursor::Passo passo = cursor->proxima(linha);
        if (passo == Cursor::Passo::Fim)
            return true;
        if (passo == Cursor::Passo::Erro) {
            mostrarErro(cursor->erro());
            return false;
        }
        try {
            if (!porLinha(linha))
                return false;
            if (!linha.ajustes.empty()) {
                QString nome = m_sufixo.trimmed();
                while (nome.endsWith(QLatin1Char('.')))
                    nome.chop(1);
                m_contexto.textosAjustadosNaLinha(nome + QLatin1Char(' ') + linha.texto(0).trimmed(), linha);
            }
        } catch (const std::exception& e) {
            // A value the local files cannot hold (a character outside their code page): the step
            // ends as for a failed write, with the reason.
            m_contexto.erro(QString::fromUtf8(e.what()));
            return false;
        }
        if (++lidas % kLinhasEntreAvisos == 0) {
            m_contexto.ouvinte.contagem(m_linhas, 0);
            if (m_contexto.parar()) {
                m_contexto.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
                return false;
            }
        }
    }
}

void PassoDownload::progresso(const std::function<QString()>& texto) {
    if (m_ultimaMostrada >= 0 && m_linhas - m_ultimaMostrada < kLinhasEntreAvisos) {
        // A step passes millions of rows: the clock is read every few of them.
        if (++m_semRelogio % kLinhasEntreRelogios != 0 || m_relogio.elapsed() < kMsEntreAvisos)
            return;
    }
    m_ultimaMostrada = m_linhas;
    m_relogio.restart();
    m_contexto.linhaProgresso(texto());
}

bool PassoDownload::falhaGravacao(const StoreError& erro, const QString& texto) {
    m_contexto.erro(QStringLiteral("Erro (") + QString::number(erro.number()) + texto + oQueFazer(erro));
    return false;
}

bool semRegistros(Table& tabela) {
    tabela.clearFilter();
    return tabela.seekPhysical() == Status::Ok && tabela.next() == Status::EndOfFile;
}

bool PassoDownload::indiceDeNomesNoFim(Table& tabela, const QString& textoFalha) {
    if (const SetResult suspenso = suspendNameIndex(tabela); !suspenso.ok())
        return falhaGravacao(suspenso.error, textoFalha);
    m_indicesNoFim.emplace_back(&tabela, textoFalha);
    return true;
}

bool PassoDownload::chavesNoFim(Table& tabela, std::vector<std::string> chaves, const QString& textoFalha) {
    if (const SetResult suspensas = suspendKeys(tabela, chaves); !suspensas.ok())
        return falhaGravacao(suspensas.error, textoFalha);
    m_chavesNoFim.push_back({&tabela, std::move(chaves), textoFalha});
    return true;
}

bool PassoDownload::concluir() {
    for (const auto& [tabela, textoFalha] : std::exchange(m_indicesNoFim, {}))
        if (const SetResult refeito = rebuildNameIndex(*tabela); !refeito.ok())
            return falhaGravacao(refeito.error, textoFalha);
    for (const ChavesNoFim& c : std::exchange(m_chavesNoFim, {}))
        if (const SetResult refeitas = rebuildKeys(*c.tabela, c.chaves); !refeitas.ok())
            return falhaGravacao(refeitas.error, c.textoFalha);
    if (m_transacao) {
        const bool gravou = m_transacao->commit();
        const StoreError erro = m_transacao->error();
        m_transacao.reset();
        if (!gravou)
            return falhaGravacao(erro, QStringLiteral(") ao gravar") + m_sufixo);
    }
    for (const QString& parte : std::as_const(m_partesConcluidas))
        m_contexto.registrar(parte);
    m_contexto.ouvinte.contagem(m_linhas, m_linhas);
    m_contexto.registrar(m_prefixo + QString::number(m_linhas) + m_sufixo);
    m_contexto.passoOk = true;
    return true;
}

void PassoDownload::proximaParte(const QString& textoInicio, QString sufixoFim) {
    m_partesConcluidas << m_prefixo + QString::number(m_linhas) + m_sufixo;
    m_sufixo = std::move(sufixoFim);
    m_linhas = 0;
    m_ultimaMostrada = -1;
    m_contexto.registrar(textoInicio);
}

bool PassoDownload::excluir(Table& t, const std::string& condicao, std::vector<QVariant> parametros,
                            const std::function<QString(const Record&)>& textoExclusao,
                            const QString& textoFalha) {
    // All at once, then one by one those another window holds (each reported, the pass going on).
    if (const SetResult removidos = removeWhere(t, condicao, parametros); !removidos.ok())
        return falhaGravacao(removidos.error, textoFalha);
    t.setFilter(condicao, std::move(parametros));
    Status s = t.seekPhysical();
    if (s == Status::Ok)
        s = t.next();
    long long vistas = 0;
    while (s == Status::Ok) {
        progresso([&] { return textoExclusao(t.rec()); });
        if (t.remove() != Status::Ok)
            falhaGravacao(t.error(), textoFalha);
        if (++vistas % kLinhasEntreAvisos == 0 && m_contexto.parar()) {
            t.clearFilter();
            m_contexto.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            return false;
        }
        s = t.next();
    }
    t.clearFilter();
    if (s == Status::Error)
        return falhaGravacao(t.error(), textoFalha);
    return true;
}

Status localizar(Table& t, const char* chave, const std::function<void(Record&)>& preencherChave) {
    t.clear();
    preencherChave(t.rec());
    const Status s = t.get(chave);
    if (s == Status::Ok || s == Status::Error)
        return s;
    t.clear();
    preencherChave(t.rec());
    return Status::NotFound;
}

Status gravar(Table& t, Status achou) {
    return achou == Status::Ok ? t.put() : t.add();
}

Status incluirOuAlterar(Table& t, const char* chave, bool nova,
                        const std::function<void(Record&)>& preencherChave,
                        const std::function<void(Record&)>& preencherCampos) {
    if (nova) {
        t.clear();
        preencherChave(t.rec());
        preencherCampos(t.rec());
        const Status s = t.add();
        if (s == Status::Ok || t.error().code != ErrorCode::CreatesDuplicateKey)
            return s;
    }
    const Status achou = localizar(t, chave, preencherChave);
    if (achou == Status::Error)
        return achou;
    if (achou == Status::NotFound) {
        preencherCampos(t.rec());
        return t.add();
    }
    const Record lido = t.rec();
    preencherCampos(t.rec());
    return putChanged(t, lido);
}

long long idComEmpresa(long long codigo, int idEmpresa) {
    bool ok = false;
    const long long id =
        (QString::number(codigo) + QStringLiteral("%1").arg(idEmpresa, 4, 10, QLatin1Char('0')))
            .toLongLong(&ok);
    // Digits beyond any number: the largest one, which no id field holds, so the caller refuses it.
    return ok ? id : std::numeric_limits<long long>::max();
}

ValoresDownload lerValoresDownload(ContextoComunicacao& c) {
    ValoresDownload v;
    const Record empresa = lerPorChave(c.store, "empresa", "KEYID", {{"ID_EMPRESA", c.idEmpresa}});
    v.empresaProdutos = static_cast<int>(empresa.integer("ID_EMPRESA_PROD"));
    v.empresaGrupos = static_cast<int>(empresa.integer("ID_EMPRESA_GRUP"));
    v.matriz = static_cast<int>(empresa.integer("ID_MATRIZ"));
    const Record vendedor = lerPorChave(c.store, "vendedor", "KEYCODIGO",
                                        {{"CODIGO", representante(c)}, {"ID_EMPRESA", c.idEmpresa}});
    v.descontoMaximoVendedor = vendedor.decimal("TX_DESCMAX");
    v.analiseLucro = vendedor.integer("PERMITIR_ANALISE_LUCRO");
    QStringList codigos;
    for (const char* campo : {"COD_PAUTA1", "COD_PAUTA2", "COD_PAUTA3"})
        codigos << QString::number(c.qavcfg->integer(campo));
    for (const char* campo :
         {"COD_PAUTA1", "COD_PAUTA2", "COD_PAUTA3", "COD_PAUTA4", "COD_PAUTA5", "COD_PAUTA6"})
        codigos << QString::number(vendedor.integer(campo));
    v.codigosPauta = codigos.join(QLatin1Char(','));
    if (c.sistema == QStringLiteral("zor"))
        v.empresaProduto = c.idEmpresa > 9000 ? c.idEmpresa - 9000 : c.idEmpresa;
    else
        v.empresaProduto = c.empresaCabeca;
    return v;
}

QString clausulaPautasClientes(const ContextoComunicacao& c) {
    const QString vendedor = Conexao::inteiro(representante(c));
    if (c.sistema == QStringLiteral("zor"))
        return QStringLiteral(
                   " OR codigo IN (SELECT DISTINCT cod_pauta FROM zor.corrent WHERE cod_vendedor=") +
               vendedor + QStringLiteral(" ) ) ");
    return QStringLiteral(
               " OR codigo IN (SELECT DISTINCT cod_pauta FROM gerente.clientes WHERE cod_vendedor=") +
           vendedor + QStringLiteral(" AND cod_pauta>0) )");
}

QString desdeCorte(const ContextoComunicacao& c, const QString& prefixo, const QString& coluna,
                   const QString& sufixo) {
    if (c.tipo == TipoComunicacao::Total)
        return {};
    return prefixo + coluna + QStringLiteral(">=") + Conexao::data(c.corte) + sufixo;
}

bool baixaCadastros(const ContextoComunicacao& c) {
    return c.tipo != TipoComunicacao::SomentePedidos;
}

bool passoRoda(const ContextoComunicacao& c, const char* sistema) {
    return baixaCadastros(c) && c.sistema == QLatin1String(sistema);
}

int representante(const ContextoComunicacao& c) {
    return c.qavcfg ? static_cast<int>(c.qavcfg->integer("COD_VENDEDOR")) : 0;
}

Date inicioHistorico(const ContextoComunicacao& c) {
    const int dias = c.qavcfg ? static_cast<int>(c.qavcfg->integer("DIAS_HISTORICO")) : 0;
    return c.dataServidor.addDays(-dias);
}

bool gravarNoProduto(PassoDownload& passo, Table& produtos, long long idProduto, int idEmpresa, Record& lido,
                     const std::vector<int>& campos, const std::function<void(Record&)>& mudar,
                     const std::function<QString()>& textoFalha) {
    produtos.clear();
    produtos.rec().setInteger("ID", idProduto);
    produtos.rec().setInteger("ID_EMPRESA", idEmpresa);
    const Status achou = produtos.getFields("KEYID", campos);
    if (achou == Status::NotFound)
        return true;
    if (achou == Status::Ok) {
        lido = produtos.rec();
        mudar(produtos.rec());
        // Every field is compared, not only those read: one that `mudar` set without reading it is
        // written too.
        if (produtos.putFields(produtos.rec().fieldsDifferingFrom(lido)) == Status::Ok) {
            passo.contar();
            return true;
        }
    }
    return passo.falhaGravacao(produtos.error(), textoFalha());
}

QString listasDoVendedor(const ContextoComunicacao& c, const ValoresDownload& v, const char* coluna) {
    return QString::fromLatin1(coluna) + QStringLiteral(" IN (") + v.codigosPauta + QLatin1Char(')') +
           clausulaPautasClientes(c);
}

} // namespace qav::sync
