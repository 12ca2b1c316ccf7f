#include "sync/core/conexao/Conexao.h"

#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/conexao/ComandoGravacao.h"

#include <QList>

#include <cctype>

#include <QByteArray>
#include <algorithm>
#include <libpq-fe.h>

namespace qav::sync {

namespace {

// Whether an error answer means the connection is gone: libpq saw the socket close, or the server
// said it is ending this session (terminated by an administrator, shutting down, crashed) or named a
// connection failure. The server's farewell may arrive before libpq notices the closed socket.
bool conexaoEncerrada(PGconn* conexao, const PGresult* resultado) {
    if (!conexao || PQstatus(conexao) != CONNECTION_OK)
        return true;
    const char* estado = resultado ? PQresultErrorField(resultado, PG_DIAG_SQLSTATE) : nullptr;
    if (!estado)
        return false;
    const QByteArray codigo(estado);
    return codigo.startsWith("57P") || codigo.startsWith("08");
}

// The text of a statement's first word, to tell a SELECT from the statements that change data.
bool ehSelect(const QString& comando) {
    return comando.left(6).toUpper() == QStringLiteral("SELECT");
}

// libpq takes its settings as separate keywords and values, so a value holding ";", "=" or a quote
// is never read as another setting.
struct Palavras {
    std::vector<QByteArray> chaves, valores;
    void mais(const char* chave, const QString& valor) {
        chaves.emplace_back(chave);
        valores.push_back(valor.toUtf8());
    }
    std::vector<const char*> ponteiros(const std::vector<QByteArray>& lista) const {
        std::vector<const char*> p;
        for (const QByteArray& b : lista)
            p.push_back(b.constData());
        p.push_back(nullptr);
        return p;
    }
};

Linha linhaDoResultado(const PGresult* resultado, int linha, const CodificacaoServidor& codificacao) {
    Linha l;
    const int colunas = PQnfields(resultado);
    l.colunas.reserve(static_cast<size_t>(colunas));
    l.nulas.reserve(static_cast<size_t>(colunas));
    for (int c = 0; c < colunas; ++c) {
        const bool nula = PQgetisnull(resultado, linha, c) != 0;
        l.nulas.push_back(nula);
        if (nula) {
            l.colunas.emplace_back();
            continue;
        }
        QString texto =
            codificacao.decodificar(PQgetvalue(resultado, linha, c), PQgetlength(resultado, linha, c));
        // The local tables hold Windows-1252 only: anything else is kept in its nearest plain form
        // rather than ending the step.
        if (!text::isWin1252(texto)) {
            QString ajustado = text::win1252Form(texto);
            l.ajustes.push_back({QString(), QString::fromUtf8(PQfname(resultado, c)), texto, ajustado});
            texto = std::move(ajustado);
        }
        l.colunas.push_back(std::move(texto));
    }
    return l;
}

struct RespostaPg {
    PGresult* r = nullptr;
    explicit RespostaPg(PGresult* resultado) : r(resultado) {}
    ~RespostaPg() { PQclear(r); }
    RespostaPg(const RespostaPg&) = delete;
    RespostaPg& operator=(const RespostaPg&) = delete;
    bool ok() const {
        const ExecStatusType s = PQresultStatus(r);
        return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
    }
};

} // namespace

const QString& Linha::semTexto() {
    static const QString vazio;
    return vazio;
}

long long Linha::inteiro(size_t coluna) const {
    // Plain digits, as the server writes its whole numbers, are read directly; anything else (spaces,
    // a sign, a point, "t") takes the general path.
    if (coluna < colunas.size())
        if (const auto n = inteiroSimples(colunas[coluna]))
            return *n;
    const QString t = texto(coluna).trimmed();
    if (t == QStringLiteral("t"))
        return 1;
    bool ok = false;
    const long long valor = t.toLongLong(&ok);
    if (ok)
        return valor;
    const auto d = Decimal::parse(t.toStdString());
    return d ? d->truncated().toInt64() : 0;
}

Decimal Linha::decimal(size_t coluna) const {
    const auto d = Decimal::parse(texto(coluna).trimmed().toStdString());
    return d ? *d : Decimal();
}

Date Linha::data(size_t coluna) const {
    const auto d = Date::fromIso(texto(coluna).left(10).toStdString());
    return d ? *d : Date();
}

// ---- Cursor

namespace {

// The statement without the ";" and blanks it ends with; empty when it holds another ";" (it may then
// be more than one statement, which the COPY form cannot take).
QString semTerminador(const QString& comando) {
    QString corpo = comando.trimmed();
    while (corpo.endsWith(QLatin1Char(';')))
        corpo = corpo.chopped(1).trimmed();
    return corpo.contains(QLatin1Char(';')) ? QString() : corpo;
}

} // namespace

Cursor::Cursor(Conexao& conexao, QString comando) : m_conexao(conexao) {
    m_erro.comando = std::move(comando);
    pg_conn* c = m_conexao.m_conexao;
    if (m_conexao.m_gravador)
        m_conexao.m_gravador(m_erro.comando);
    m_conexao.anunciarAjustes(m_erro.comando);
    // The COPY form runs on its own; inside an open transaction a statement it refused would leave the
    // transaction failed, so there the rows come one answer each.
    const QString corpo = ehSelect(m_erro.comando) ? semTerminador(m_erro.comando) : QString();
    if (c && !corpo.isEmpty() && PQtransactionStatus(c) == PQTRANS_IDLE) {
        // One round trip: the columns' names (for the texts adjusted on the way), then the rows.
        const QString copia = QStringLiteral("SELECT * FROM (") + corpo +
                              QStringLiteral(") AS q LIMIT 0; COPY (") + corpo +
                              QStringLiteral(") TO STDOUT");
        if (PQsendQuery(c, m_conexao.m_codificacao.codificar(copia).constData()) != 0) {
            m_fase = Fase::Nomes;
            m_conexao.m_cursorAberto = true;
            return;
        }
    }
    if (!enviarPorLinha())
        descartar();
}

bool Cursor::enviarPorLinha() {
    pg_conn* c = m_conexao.m_conexao;
    m_fase = Fase::Linhas;
    if (!c || PQsendQuery(c, m_conexao.m_codificacao.codificar(m_erro.comando).constData()) == 0 ||
        PQsetSingleRowMode(c) == 0) {
        m_erro = m_conexao.erroDoServidor(m_erro.comando);
        return false;
    }
    m_conexao.m_cursorAberto = true;
    return true;
}

Cursor::~Cursor() {
    descartar();
}

void Cursor::descartar() {
    if (!m_aberto)
        return;
    m_aberto = false;
    pg_conn* c = m_conexao.m_conexao;
    if (c && m_conexao.m_cursorAberto) {
        m_conexao.m_cursorAberto = false;
        // Rows not read are thrown away so that the connection can take the next statement; the
        // server is asked to stop sending them, and a server that does not answer is let go.
        if (m_fase == Fase::Copia) {
            // Rows already here are dropped first: a COPY whose end has come needs no cancel (which,
            // arriving late, could stop the next statement instead).
            char* bytes = nullptr;
            int n = 0;
            while ((n = PQgetCopyData(c, &bytes, 1)) > 0)
                PQfreemem(bytes);
            if (n < 0)
                m_fase = Fase::Final;
        }
        bool cancelado = PQisBusy(c) != 0 || m_fase == Fase::Copia;
        if (cancelado)
            cancelarNoServidor(c);
        ErroSql ignorado;
        while (m_conexao.m_conexao) {
            if (m_fase == Fase::Copia) {
                char* bytes = nullptr;
                const int n = PQgetCopyData(m_conexao.m_conexao, &bytes, 1);
                if (n > 0) {
                    PQfreemem(bytes);
                } else if (n == 0) {
                    if (!m_conexao.aguardarCopia(m_erro.comando, &ignorado))
                        break;
                } else {
                    m_fase = Fase::Final;
                }
                continue;
            }
            if (!m_conexao.aguardar(m_erro.comando, &ignorado))
                break;
            PGresult* r = PQgetResult(m_conexao.m_conexao);
            if (!r)
                break;
            if (PQresultStatus(r) == PGRES_COPY_OUT) {
                m_fase = Fase::Copia;
                if (!cancelado)
                    cancelarNoServidor(m_conexao.m_conexao);
                cancelado = true;
            }
            PQclear(r);
        }
    }
    m_conexao.m_cursorAberto = false;
}

Cursor::Passo Cursor::lerNomes() {
    // The names' answer, then the start of the COPY. A statement the COPY form refuses (or a server
    // that knows no COPY of a query) is sent again as it is, so that its rows or its error are as ever.
    for (;;) {
        if (!m_conexao.aguardar(m_erro.comando, &m_erro)) {
            descartar();
            return Passo::Erro;
        }
        RespostaPg r(PQgetResult(m_conexao.m_conexao));
        const ExecStatusType estado = r.r ? PQresultStatus(r.r) : PGRES_FATAL_ERROR;
        if (estado == PGRES_TUPLES_OK) {
            m_nomes.clear();
            for (int c = 0; c < PQnfields(r.r); ++c)
                m_nomes.push_back(QString::fromUtf8(PQfname(r.r, c)));
            continue;
        }
        if (estado == PGRES_COPY_OUT) {
            m_fase = Fase::Copia;
            return Passo::Linha;
        }
        // Refused: what is left of the answer is read, then the statement goes in its own form.
        while (r.r && m_conexao.aguardar(m_erro.comando, &m_erro)) {
            PGresult* resto = PQgetResult(m_conexao.m_conexao);
            if (!resto)
                break;
            const bool copiando = PQresultStatus(resto) == PGRES_COPY_OUT;
            PQclear(resto);
            if (copiando)
                break; // not expected after an error; descartar() ends it
        }
        if (!m_conexao.conectada() || m_conexao.m_falha != Conexao::Falha::Nenhuma ||
            PQtransactionStatus(m_conexao.m_conexao) != PQTRANS_IDLE) {
            if (m_erro.texto.isEmpty()) {
                m_erro = m_conexao.erroDoServidor(m_erro.comando, "08006");
                m_erro.texto = QStringLiteral("Conexão com o servidor perdida!|") + m_erro.texto;
            }
            descartar();
            return Passo::Erro;
        }
        m_conexao.m_cursorAberto = false;
        if (!enviarPorLinha()) {
            descartar();
            return Passo::Erro;
        }
        return Passo::Fim; // meaning: read on in the other form
    }
}

void Cursor::linhaDaCopia(const char* bytes, int tamanho, Linha& linha) {
    linha.ajustes.clear();
    linha.nulas.clear();
    // Each column's text keeps its storage from row to row (the rows of a download come by the
    // million); the texts past this row's last column go at the end.
    size_t colunas = 0;
    const auto proximaColuna = [&]() -> QString& {
        return colunas < linha.colunas.size() ? linha.colunas[colunas++]
                                              : (++colunas, linha.colunas.emplace_back());
    };
    if (tamanho > 0 && bytes[tamanho - 1] == '\n')
        --tamanho;
    const char* fim = bytes + tamanho;
    const char* p = bytes;
    for (;;) {
        const char* inicio = p;
        bool escapes = false;
        while (p < fim && *p != '\t') {
            if (*p == '\\') {
                escapes = true;
                if (p + 1 < fim)
                    ++p;
            }
            ++p;
        }
        const size_t coluna = colunas;
        if (p - inicio == 2 && inicio[0] == '\\' && inicio[1] == 'N') {
            linha.nulas.push_back(true);
            proximaColuna() = QString();
        } else {
            const char* valor = inicio;
            qsizetype tamanhoValor = p - inicio;
            if (escapes) {
                // The text form's escapes: \b \f \n \r \t \v, octal and hex bytes, and any other
                // character standing for itself (the backslash among them).
                m_valor.resize(0);
                for (const char* q = inicio; q < p; ++q) {
                    if (*q != '\\' || q + 1 >= p) {
                        m_valor += *q;
                        continue;
                    }
                    const char e = *++q;
                    switch (e) {
                    case 'b':
                        m_valor += '\b';
                        break;
                    case 'f':
                        m_valor += '\f';
                        break;
                    case 'n':
                        m_valor += '\n';
                        break;
                    case 'r':
                        m_valor += '\r';
                        break;
                    case 't':
                        m_valor += '\t';
                        break;
                    case 'v':
                        m_valor += '\v';
                        break;
                    case 'x':
                        if (q + 1 < p && std::isxdigit(static_cast<unsigned char>(q[1]))) {
                            int b = 0;
                            for (int i = 0;
                                 i < 2 && q + 1 < p && std::isxdigit(static_cast<unsigned char>(q[1])); ++i) {
                                const char h = *++q;
                                b = b * 16 + (h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                            }
                            m_valor += static_cast<char>(b);
                        } else {
                            m_valor += e;
                        }
                        break;
                    default:
                        if (e >= '0' && e <= '7') {
                            int b = e - '0';
                            for (int i = 0; i < 2 && q + 1 < p && q[1] >= '0' && q[1] <= '7'; ++i)
                                b = b * 8 + (*++q - '0');
                            m_valor += static_cast<char>(b);
                        } else {
                            m_valor += e;
                        }
                    }
                }
                valor = m_valor.constData();
                tamanhoValor = m_valor.size();
            }
            QString& texto = proximaColuna();
            linha.nulas.push_back(false);
            // Plain ASCII (numbers, dates, most texts) reads the same in every server encoding and
            // is within the local code page: widened in place.
            bool ascii = true;
            for (qsizetype i = 0; i < tamanhoValor && ascii; ++i)
                ascii = (static_cast<unsigned char>(valor[i]) & 0x80) == 0;
            if (ascii) {
                texto.resize(tamanhoValor);
                QChar* destino = texto.data();
                for (qsizetype i = 0; i < tamanhoValor; ++i)
                    destino[i] = QLatin1Char(valor[i]);
            } else {
                texto = m_conexao.m_codificacao.decodificar(valor, tamanhoValor);
                // The local tables hold Windows-1252 only: anything else is kept in its nearest
                // plain form rather than ending the step.
                if (!text::isWin1252(texto)) {
                    QString ajustado = text::win1252Form(texto);
                    linha.ajustes.push_back(
                        {QString(), coluna < m_nomes.size() ? m_nomes[coluna] : QString(), texto, ajustado});
                    texto = std::move(ajustado);
                }
            }
        }
        if (p >= fim)
            break;
        ++p; // the tab
    }
    linha.colunas.resize(colunas);
}

Cursor::Passo Cursor::lerCopia(Linha& linha) {
    for (;;) {
        pg_conn* c = m_conexao.m_conexao;
        if (!c) {
            m_erro = m_conexao.erroDoServidor(m_erro.comando, "08006");
            descartar();
            return Passo::Erro;
        }
        char* bytes = nullptr;
        const int n = PQgetCopyData(c, &bytes, 1);
        if (n > 0) {
            linhaDaCopia(bytes, n, linha);
            PQfreemem(bytes);
            return Passo::Linha;
        }
        if (n < 0) {
            // The end of the rows (or a broken connection): the COPY's own answer says which.
            m_fase = Fase::Final;
            return Passo::Fim;
        }
        if (!m_conexao.aguardarCopia(m_erro.comando, &m_erro)) {
            descartar();
            return Passo::Erro;
        }
    }
}

Cursor::Passo Cursor::proxima(Linha& linha) {
    if (!m_aberto)
        return m_erro.texto.isEmpty() ? Passo::Fim : Passo::Erro;
    if (m_fase == Fase::Nomes) {
        const Passo passo = lerNomes();
        if (passo == Passo::Erro)
            return passo;
    }
    if (m_fase == Fase::Copia) {
        const Passo passo = lerCopia(linha);
        if (passo != Passo::Fim)
            return passo;
    }
    if (!m_conexao.aguardar(m_erro.comando, &m_erro)) {
        descartar();
        return Passo::Erro;
    }
    RespostaPg r(PQgetResult(m_conexao.m_conexao));
    if (!r.r) {
        descartar();
        return Passo::Fim;
    }
    switch (PQresultStatus(r.r)) {
    case PGRES_SINGLE_TUPLE:
        linha = linhaDoResultado(r.r, 0, m_conexao.m_codificacao);
        return Passo::Linha;
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        descartar();
        return Passo::Fim;
    default: {
        const char* estado = PQresultErrorField(r.r, PG_DIAG_SQLSTATE);
        m_erro.codigo = QString::fromLatin1(estado ? estado : "");
        m_erro.texto = m_conexao.semSenha(m_conexao.doServidor(PQresultErrorMessage(r.r)));
        if (conexaoEncerrada(m_conexao.m_conexao, r.r)) {
            m_conexao.m_falha = Conexao::Falha::Perdida;
            m_erro.texto = QStringLiteral("Conexão com o servidor perdida!|") + m_erro.texto;
        }
        descartar();
        return Passo::Erro;
    }
    }
}

// ---- Conexao

Conexao::Conexao() = default;

Conexao::~Conexao() {
    desconectar();
}

Resultado Conexao::conectar(const ParametrosConexao& p) {
    desconectar();
    m_parametros = p;
    m_senha = p.senha;
    Palavras w;
    w.mais("host", p.host);
    w.mais("port", QString::number(p.porta));
    w.mais("dbname", p.nome);
    w.mais("user", p.usuario);
    w.mais("password", p.senha);
    w.mais("client_encoding", QStringLiteral("UTF8"));
    w.mais("connect_timeout", QString::number(m_limites.conexaoSegundos));
    w.mais("application_name", QStringLiteral("QAV+"));
    // Dates are read by position ("2026-12-08 ..."), whatever DateStyle the server was set up with.
    w.mais("options", QStringLiteral("-c DateStyle=ISO"));
    // A link that died while nothing was being sent is noticed by the system within a minute.
    w.mais("keepalives", QStringLiteral("1"));
    w.mais("keepalives_idle", QString::number(m_limites.keepaliveOciosoSegundos));
    w.mais("keepalives_interval", QString::number(m_limites.keepaliveIntervaloSegundos));
    w.mais("keepalives_count", QString::number(m_limites.keepaliveTentativas));
    const auto chaves = w.ponteiros(w.chaves);
    const auto valores = w.ponteiros(w.valores);
    Espera como = Espera::Pronta;
    m_conexao = conectarComLimite(chaves.data(), valores.data(), m_limites.conexaoSegundos, m_parar, &como);
    if (!m_conexao || como != Espera::Pronta || PQstatus(m_conexao) != CONNECTION_OK) {
        QString erro;
        if (como == Espera::SemResposta)
            erro = textoSemResposta(m_limites.conexaoSegundos);
        else if (como == Espera::Interrompida)
            erro = QStringLiteral("Comunicação interrompida pelo usuário");
        else
            erro =
                semSenha(m_conexao ? doServidor(PQerrorMessage(m_conexao)) : QStringLiteral("sem memória"));
        desconectar();
        if (como == Espera::Interrompida)
            m_falha = Falha::Interrompida;
        if (como == Espera::SemResposta) {
            m_falha = Falha::SemResposta;
            m_limiteEsgotado = m_limites.conexaoSegundos;
        }
        return Resultado::falhou(erro);
    }
    escolherCodificacao();
    detectarServidor();
    if (m_conexao)
        aplicarLimitesSessao();
    return {};
}

void Conexao::escolherCodificacao() {
    const char* doBanco = PQparameterStatus(m_conexao, "server_encoding");
    CodificacaoServidor codificacao =
        CodificacaoServidor::paraServidor(QString::fromLatin1(doBanco ? doBanco : "UTF8"));
    if (codificacao.precisaMapa())
        codificacao.definirMapa(mapaDoServidor(QString::fromLatin1(codificacao.codificacaoCliente())));
    if (PQsetClientEncoding(m_conexao, codificacao.codificacaoCliente().constData()) != 0)
        return; // the connection goes on in UTF-8, the server converting
    m_codificacao = codificacao;
}

// The characters of the bytes 0x80-0xFF in a single-byte encoding, as the server converts them.
// Bytes the encoding leaves undefined make the server refuse the whole range; the range from 0xA0
// is tried then, and as a last resort only ASCII goes up.
std::array<char32_t, 128> Conexao::mapaDoServidor(const QString& codificacao) {
    std::array<char32_t, 128> mapa{};
    for (const int inicio : {0x80, 0xA0}) {
        QByteArray bytes;
        for (int b = inicio; b <= 0xFF; ++b)
            bytes += static_cast<char>(b);
        const auto linhas =
            consultar(QStringLiteral("SELECT convert(decode('") + QString::fromLatin1(bytes.toHex()) +
                      QStringLiteral("','hex'),") + textoSempre(codificacao) + QStringLiteral(",'UTF8');"));
        if (!linhas || linhas->empty())
            continue;
        const QString resposta = linhas->front().texto(0);
        if (!resposta.startsWith(QStringLiteral("\\x")))
            break; // a server that does not write bytes in hex
        const QList<uint> caracteres =
            QString::fromUtf8(QByteArray::fromHex(resposta.mid(2).toLatin1())).toUcs4();
        if (caracteres.size() != bytes.size())
            break;
        for (qsizetype i = 0; i < caracteres.size(); ++i)
            mapa[static_cast<size_t>(inicio - 0x80 + i)] = caracteres[i];
        break;
    }
    return mapa;
}

QString Conexao::doServidor(const char* texto) const {
    return m_codificacao.decodificar(texto, static_cast<qsizetype>(qstrlen(texto))).trimmed();
}

void Conexao::anunciarAjustes(const QString& comando) {
    if (m_ajustesPendentes.empty())
        return;
    std::vector<std::pair<QString, AjusteTexto>> restantes;
    for (auto& [literal, ajuste] : m_ajustesPendentes) {
        const qsizetype posicao = comando.indexOf(literal);
        if (posicao < 0) {
            restantes.push_back({literal, ajuste});
            continue;
        }
        const auto [tabela, coluna] = destinoDoValor(comando, posicao);
        ajuste.tabela = tabela;
        ajuste.coluna = coluna;
        if (m_aoAjuste)
            m_aoAjuste(ajuste);
    }
    // Literals built for a statement that was never sent are forgotten after a while.
    constexpr size_t kPendentesGuardados = 200;
    if (restantes.size() > kPendentesGuardados)
        restantes.erase(restantes.begin(), restantes.begin() + static_cast<std::ptrdiff_t>(
                                                                   restantes.size() - kPendentesGuardados));
    m_ajustesPendentes = std::move(restantes);
}

void Conexao::desconectar() {
    // The statements sent ahead go before their connections.
    m_antecipadas.clear();
    m_auxiliares.clear();
    m_auxiliarRecusada = false;
    if (m_conexao)
        PQfinish(m_conexao);
    m_conexao = nullptr;
    m_falha = Falha::Nenhuma;
    m_sistema.clear();
    m_versaoMaior = 0;
    m_cursorAberto = false;
    m_tabelaPerguntada.clear();
    m_codificacao = CodificacaoServidor();
    m_ajustesPendentes.clear();
}

bool Conexao::conectada() const {
    return m_conexao && PQstatus(m_conexao) == CONNECTION_OK;
}

bool Conexao::emTransacao() const {
    if (!m_conexao)
        return false;
    const PGTransactionStatusType s = PQtransactionStatus(m_conexao);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
}

void Conexao::detectarServidor() {
    m_sistema =
        querysql(QStringLiteral("SELECT schemaname FROM pg_tables WHERE tablename='pedidos' AND schemaname "
                                "NOT IN ('qavpalm');"))
            .left(20);
    // "PostgreSQL 16.4 on ...", "PostgreSQL 8.4.2 ...": the digits from the twelfth character.
    const QString versao = querysql(QStringLiteral("SELECT version();"));
    QString digitos;
    for (qsizetype i = 11; i < versao.size() && i < 13 && versao[i].isDigit(); ++i)
        digitos += versao[i];
    m_versaoMaior = digitos.toInt();
    // The full-text search of the 8.x servers needs its configuration chosen on every connection.
    if (m_versaoMaior == 8)
        querysql(QStringLiteral("SELECT set_curcfg('default');"));
}

// libpq does not put the password in its messages; this keeps it so should a server echo it. Very short
// passwords are left alone, or every word holding their letters would be garbled.
QString Conexao::semSenha(const QString& texto) const {
    if (m_senha.size() < 6)
        return texto;
    return QString(texto).replace(m_senha, QStringLiteral("********"));
}

ErroSql Conexao::erroDoServidor(const QString& comando, const char* codigo) const {
    ErroSql e;
    e.comando = comando;
    e.codigo = QString::fromLatin1(codigo ? codigo : "");
    e.texto = semSenha(m_conexao ? doServidor(PQerrorMessage(m_conexao)) : textoSemConexao());
    if (e.texto.isEmpty())
        e.texto = QStringLiteral("sem conexão com o servidor");
    return e;
}

void Conexao::reportar(const ErroSql& erro) {
    if (m_sink)
        m_sink(erro);
}

QString Conexao::querysql(const QString& comando) {
    ErroSql erro;
    const auto linhas = consultar(comando, &erro);
    if (!linhas) {
        reportar(erro);
        return {};
    }
    if (!linhas->empty())
        return linhas->front().texto(0);
    return ehSelect(comando) ? QString() : QStringLiteral("1");
}

bool Conexao::confirmar(const QString& comando) {
    if (querysql(comando).isEmpty())
        return false;
    if (m_statusComando == "COMMIT")
        return true;
    reportar(transacaoDesfeita(comando));
    return false;
}

bool Conexao::confirmar(const QString& comando, ErroSql& erro) {
    if (!executar(comando, &erro))
        return false;
    if (m_statusComando == "COMMIT")
        return true;
    erro = transacaoDesfeita(comando);
    return false;
}

ErroSql Conexao::transacaoDesfeita(const QString& comando) const {
    ErroSql erro;
    erro.comando = comando;
    erro.codigo = QStringLiteral("40000");
    erro.texto = QStringLiteral("O servidor desfez a transação em vez de confirmá-la (resposta ") +
                 QString::fromLatin1(m_statusComando) + QStringLiteral(").");
    return erro;
}

bool Conexao::executar(const QString& comando, ErroSql* erro) {
    return consultar(comando, erro).has_value();
}

std::optional<std::vector<Linha>> Conexao::consultar(const QString& comando, ErroSql* erro) {
    if (!m_conexao || m_cursorAberto) {
        if (erro) {
            *erro = erroDoServidor(comando, "08003");
            if (m_cursorAberto)
                erro->texto = QStringLiteral("outra consulta em andamento na conexão");
        }
        return std::nullopt;
    }
    if (m_gravador)
        m_gravador(comando);
    anunciarAjustes(comando);
    // As PQexec, keeping the first error or else the last result, but never waiting without limit.
    PGresult* resultado = nullptr;
    if (PQsendQuery(m_conexao, m_codificacao.codificar(comando).constData()) != 0) {
        bool falhou = false;
        ErroSql espera;
        for (;;) {
            if (!aguardar(comando, &espera)) {
                PQclear(resultado);
                if (erro)
                    *erro = espera;
                return std::nullopt;
            }
            PGresult* proximo = PQgetResult(m_conexao);
            if (!proximo)
                break;
            if (falhou) {
                PQclear(proximo);
                continue;
            }
            PQclear(resultado);
            resultado = proximo;
            const ExecStatusType s = PQresultStatus(resultado);
            falhou = s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK;
        }
    }
    RespostaPg r(resultado);
    m_statusComando = r.r ? QByteArray(PQcmdStatus(r.r)) : QByteArray();
    if (!r.r || !r.ok()) {
        if (!m_conexao) {
            if (erro)
                *erro = erroDoServidor(comando, "08006");
            return std::nullopt;
        }
        const bool encerrada = conexaoEncerrada(m_conexao, r.r);
        if (encerrada)
            m_falha = Falha::Perdida;
        if (erro) {
            *erro = erroDoServidor(comando, r.r ? PQresultErrorField(r.r, PG_DIAG_SQLSTATE) : nullptr);
            if (r.r && *PQresultErrorMessage(r.r))
                erro->texto = semSenha(doServidor(PQresultErrorMessage(r.r)));
            if (encerrada) {
                // The server or the network dropped the connection: say so before the server's words.
                erro->texto = QStringLiteral("Conexão com o servidor perdida!|") + erro->texto;
                if (erro->codigo.isEmpty())
                    erro->codigo = QStringLiteral("08006");
            }
        }
        return std::nullopt;
    }
    std::vector<Linha> linhas;
    const int n = PQntuples(r.r);
    linhas.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        linhas.push_back(linhaDoResultado(r.r, i, m_codificacao));
    return linhas;
}

bool Conexao::executarJuntos(const QStringList& comandos, std::vector<std::vector<Linha>>& respostas,
                             ErroSql* erro) {
    respostas.clear();
    if (comandos.isEmpty())
        return true;
    if (comandos.size() == 1) {
        auto linhas = consultar(comandos.front(), erro);
        if (linhas)
            respostas.push_back(std::move(*linhas));
        return linhas.has_value();
    }
    if (!m_conexao || m_cursorAberto) {
        if (erro) {
            *erro = erroDoServidor(comandos.front(), "08003");
            if (m_cursorAberto)
                erro->texto = QStringLiteral("outra consulta em andamento na conexão");
        }
        return false;
    }
    QString junto;
    for (const QString& comando : comandos) {
        if (m_gravador)
            m_gravador(comando);
        anunciarAjustes(comando);
        junto += comando;
        if (!comando.trimmed().endsWith(QLatin1Char(';')))
            junto += QLatin1Char(';');
        junto += QLatin1Char('\n');
    }
    // The simple protocol answers a text of several statements with one result per statement, and
    // stops at the first one that fails: the number of answers before an error names the statement.
    const auto emCurso = [&] {
        return comandos[std::min<qsizetype>(static_cast<qsizetype>(respostas.size()), comandos.size() - 1)];
    };
    if (PQsendQuery(m_conexao, m_codificacao.codificar(junto).constData()) == 0) {
        if (erro)
            *erro = erroDoServidor(comandos.front());
        return false;
    }
    bool falhou = false;
    for (;;) {
        ErroSql espera;
        if (!aguardar(emCurso(), &espera)) {
            if (erro)
                *erro = espera;
            return false;
        }
        RespostaPg r(PQgetResult(m_conexao));
        if (!r.r)
            break;
        if (falhou)
            continue;
        m_statusComando = QByteArray(PQcmdStatus(r.r));
        if (r.ok()) {
            std::vector<Linha> linhas;
            const int n = PQntuples(r.r);
            linhas.reserve(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                linhas.push_back(linhaDoResultado(r.r, i, m_codificacao));
            respostas.push_back(std::move(linhas));
            continue;
        }
        falhou = true;
        const bool encerrada = conexaoEncerrada(m_conexao, r.r);
        if (encerrada)
            m_falha = Falha::Perdida;
        if (erro) {
            *erro = erroDoServidor(emCurso(), PQresultErrorField(r.r, PG_DIAG_SQLSTATE));
            if (*PQresultErrorMessage(r.r))
                erro->texto = semSenha(doServidor(PQresultErrorMessage(r.r)));
            if (encerrada) {
                erro->texto = QStringLiteral("Conexão com o servidor perdida!|") + erro->texto;
                if (erro->codigo.isEmpty())
                    erro->codigo = QStringLiteral("08006");
            }
        }
    }
    if (!falhou && respostas.size() != static_cast<size_t>(comandos.size())) {
        // The connection ended before every statement was answered.
        if (erro) {
            *erro = erroDoServidor(emCurso(), "08006");
            erro->texto = QStringLiteral("Conexão com o servidor perdida!|") + erro->texto;
        }
        return false;
    }
    return !falhou;
}

std::unique_ptr<Cursor> Conexao::abrir(const QString& comando) {
    for (auto it = m_antecipadas.begin(); it != m_antecipadas.end(); ++it) {
        if (it->comando != comando)
            continue;
        // Told as if it went now, from here.
        if (m_gravador)
            m_gravador(comando);
        anunciarAjustes(comando);
        std::unique_ptr<Cursor> cursor = std::move(it->cursor);
        m_antecipadas.erase(it);
        return cursor;
    }
    return std::unique_ptr<Cursor>(new Cursor(*this, comando));
}

void Conexao::antecipar(const QString& comando) {
    if (!conectada() || m_auxiliarRecusada)
        return;
    // The connections whose rows were read are closed (their objects stay for the cursors).
    for (const std::unique_ptr<Conexao>& auxiliar : m_auxiliares) {
        const bool esperando = std::any_of(m_antecipadas.begin(), m_antecipadas.end(),
                                           [&](const Antecipada& a) { return a.conexao == auxiliar.get(); });
        if (!esperando && !auxiliar->m_cursorAberto)
            auxiliar->desconectar();
    }
    constexpr size_t kMaisAntecipadas = 2;
    if (m_antecipadas.size() >= kMaisAntecipadas ||
        std::any_of(m_antecipadas.begin(), m_antecipadas.end(),
                    [&](const Antecipada& a) { return a.comando == comando; }))
        return;
    auto auxiliar = std::make_unique<Conexao>();
    auxiliar->definirLimites(m_limites);
    auxiliar->aoVerificarParada(m_parar);
    if (!auxiliar->conectar(m_parametros).ok || auxiliar->sistema() != m_sistema) {
        m_auxiliarRecusada = true;
        return;
    }
    // Sent ahead, it has time: it leaves the server's parallel workers to the statement being read.
    if (PQserverVersion(auxiliar->m_conexao) >= 90600)
        auxiliar->executar(QStringLiteral("SET max_parallel_workers_per_gather = 0;"));
    std::unique_ptr<Cursor> cursor = auxiliar->abrir(comando);
    m_antecipadas.push_back({comando, auxiliar.get(), std::move(cursor)});
    m_auxiliares.push_back(std::move(auxiliar));
}

QString Conexao::texto(const QString& valor) const {
    if (valor.trimmed().isEmpty())
        return QStringLiteral("Null");
    return textoSempre(valor);
}

QString Conexao::textoSempre(const QString& original) const {
    const QString valor = m_codificacao.ajustar(original);
    const QString literal = literalDe(valor);
    if (valor != original)
        m_ajustesPendentes.push_back({literal, AjusteTexto{QString(), QString(), original, valor}});
    return literal;
}

QString Conexao::literalDe(const QString& valor) const {
    // The text goes through the escaping in UTF-8 and back: quotes and backslashes are the only bytes
    // it touches, and the statement is put in the connection's encoding as a whole when it is sent.
    const QByteArray bruto = valor.toUtf8();
    if (m_conexao) {
        if (char* escapado =
                PQescapeLiteral(m_conexao, bruto.constData(), static_cast<size_t>(bruto.size()))) {
            const QString literal = QString::fromUtf8(escapado);
            PQfreemem(escapado);
            return literal;
        }
    }
    // Without a connection: the form every PostgreSQL server reads the same way, whatever its
    // standard_conforming_strings, with quotes and backslashes escaped.
    QString literal = valor;
    literal.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("E'") + literal + QLatin1Char('\'');
}

QString Conexao::numero(const Decimal& valor) {
    return QString::fromStdString(valor.toString());
}

QString Conexao::inteiro(long long valor) {
    return QString::number(valor);
}

QString Conexao::data(Date valor) {
    if (valor.isNull())
        return QStringLiteral("Null");
    return QLatin1Char('\'') + QString::fromStdString(valor.toIso()) + QLatin1Char('\'');
}

int Conexao::empresaTabelaCompartilhada(const QString& nomeTabela, int idEmpresa) {
    if (!m_tabelaPerguntada.isEmpty() && nomeTabela == m_tabelaPerguntada && idEmpresa == m_empresaPerguntada)
        return m_empresaRespondida;
    const QString resposta =
        querysql(QStringLiteral("SELECT id_empresa_tabcomp FROM gestao.tabcomp WHERE id_empresa=") +
                 inteiro(idEmpresa) + QStringLiteral(" AND nome_tabcomp=") + textoSempre(nomeTabela) +
                 QLatin1Char(';'));
    bool ok = false;
    const int outra = resposta.trimmed().toInt(&ok);
    m_tabelaPerguntada = nomeTabela;
    m_empresaPerguntada = idEmpresa;
    m_empresaRespondida = ok && outra != 0 ? outra : idEmpresa;
    return m_empresaRespondida;
}

} // namespace qav::sync
