// The opening of a communication run: who the salesperson is on the server, whether they may use the
// program, the log row that opens the run, the server's date and the lowest build the server accepts.
#include "base/core/Version.h"
#include "store/core/Text.h"
#include "sync/core/execucao/Comunicacao.h"

namespace qav::sync {

namespace {

const std::vector<const char*> kColunasVendedor = {"id_vendedor",
                                                   "id_empresa",
                                                   "codigo",
                                                   "ativo",
                                                   "tipo",
                                                   "nome",
                                                   "ender",
                                                   "num_endereco",
                                                   "bairro",
                                                   "id_municipio",
                                                   "cep",
                                                   "ie",
                                                   "cnpj_cpf",
                                                   "contato",
                                                   "fone",
                                                   "fax",
                                                   "celular",
                                                   "e_mail",
                                                   "origem_com",
                                                   "taxa_com",
                                                   "taxa_com2",
                                                   "forma_pag",
                                                   "exp_qav",
                                                   "pontos_instalacao_qav",
                                                   "senha",
                                                   "data",
                                                   "cod_supervisor",
                                                   "taxa_com_super",
                                                   "forma_pag_super",
                                                   "cod_grupo1",
                                                   "cod_grupo2",
                                                   "cod_grupo3",
                                                   "cod_pauta1",
                                                   "cod_pauta2",
                                                   "cod_pauta3",
                                                   "desconto_max",
                                                   "com_ven",
                                                   "com_rec",
                                                   "bc_comissao",
                                                   "permitir_flex",
                                                   "desc_pauta_flex",
                                                   "cod_pauta4",
                                                   "cod_pauta5",
                                                   "cod_pauta6",
                                                   "desc_rateio_com",
                                                   "qav_todos_clientes",
                                                   "permitir_analise_lucro",
                                                   "vl_ped_minimo"};

QString cabecalhoLog() {
    return QStringLiteral(
        "INSERT INTO gestao.log (   nome_cpd, nome_usuario, operacao, tabela, id, descricao, "
        "id_empresa)   VALUES ('QAV', 'QAV', 'LOG', 'vendedor', ");
}

QString versao() {
    return QStringLiteral("/QAV+ ") + versaoPrograma.toString();
}

// The salesperson's row; false when there is none or it may not use the program (said why).
bool validarVendedor(ContextoComunicacao& c) {
    c.registrar(QStringLiteral("Validando Vendedor/Representante..."));
    QStringList colunas;
    for (const char* nome : kColunasVendedor)
        colunas << QString::fromLatin1(nome);
    const QString comando = QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) +
                            QStringLiteral("   FROM gestao.vendedor  WHERE id_empresa=") +
                            Conexao::inteiro(c.empresaCabeca) + QStringLiteral(" AND codigo=") +
                            Conexao::inteiro(c.qavcfg->integer("COD_VENDEDOR")) + QLatin1Char(';');
    ErroSql erro;
    const auto linhas = c.conexao.consultar(comando, &erro);
    if (!linhas) {
        c.erroSql(erro);
        return false;
    }
    if (linhas->empty()) {
        c.aviso(QStringLiteral("Empresa e/ou Vendedor/Representante não cadastrados no BD informado!"));
        return false;
    }
    c.vendedor = LinhaNomeada(&kColunasVendedor, linhas->front());
    const QString senha = text::rtrim(c.qavcfg->text("SENHA_VENDEDOR"));
    if (senha.isEmpty() || senha != c.vendedor.texto("senha").left(6)) {
        c.aviso(QStringLiteral("Senha inválida!"));
        return false;
    }
    if (c.vendedor.inteiro("exp_qav") == 0) {
        c.aviso(QStringLiteral("Vendedor/Representante não autorizado para usar o QAV!"));
        return false;
    }
    if (c.vendedor.inteiro("ativo") == 0) {
        c.aviso(QStringLiteral("Vendedor/Representante inativo!"));
        return false;
    }
    return true;
}

bool lerDataServidor(ContextoComunicacao& c) {
    ErroSql erro;
    const auto linhas = c.conexao.consultar(QStringLiteral("SELECT now();"), &erro);
    if (!linhas || linhas->empty()) {
        c.erroSemTitulo(linhas ? QStringLiteral("O servidor não informou a data.") : erro.texto);
        return false;
    }
    c.dataServidor = linhas->front().data(0);
    // A date that cannot be read would be stored as the last communication and lock the installation
    // at its next start: the run stops here instead.
    if (c.dataServidor.isNull()) {
        c.erro(QStringLiteral("Data do servidor ilegível: \"") + linhas->front().texto(0) +
               QStringLiteral("\"!|A comunicação foi interrompida."));
        return false;
    }
    c.registrar(QStringLiteral("Data no servidor ") + QString::fromStdString(c.dataServidor.toBr()) +
                QStringLiteral("..."));
    return true;
}

// A server that asks for a newer build refuses this one; the user may go and fetch it.
bool verificarVersao(ContextoComunicacao& c) {
    c.registrar(QStringLiteral("Verificando Versão QAV Liberada no Servidor..."));
    const QString valor =
        c.conexao.querysql(QStringLiteral("SELECT valor FROM gestao.qavconfig WHERE id_empresa=") +
                           Conexao::inteiro(c.idEmpresa) +
                           QStringLiteral(" AND chave='Configuração' AND nome='Versão QAV Liberada';"));
    c.versaoLiberada = valor.trimmed().toInt();
    const QString n = QString::number(c.versaoLiberada);
    if (c.versaoLiberada > versaoBdRequerida) {
        c.registrar(QStringLiteral("Comunicação Bloqueada! Atualizar QAV para versão ") + n +
                    QStringLiteral(" ou superior..."));
        if (c.ouvinte.pergunta(QStringLiteral("Aviso/Confirma"),
                               QStringLiteral("Comunicação Bloqueada! Atualizar QAV para versão ") + n +
                                   QStringLiteral(" ou superior!|Deseja abrir página WEB para baixar "
                                                  "atualização do QAV agora?")))
            c.ouvinte.abrirEndereco(QString::fromLatin1(kPaginaAtualizacao));
        return false;
    }
    if (c.versaoLiberada > 0)
        c.registrar(QStringLiteral("Comunicação Liberada. Versão Liberada QAV ") + n +
                    QStringLiteral(" ou Superior..."));
    return true;
}

} // namespace

QString registroAbertura(const ContextoComunicacao& c) {
    return cabecalhoLog() + Conexao::inteiro(c.vendedor.inteiro("id_vendedor")) +
           QStringLiteral(", 'Inicio - ") + textoTipo(c.tipo) + versao() + QStringLiteral("',") +
           Conexao::inteiro(c.empresaCabeca) + QStringLiteral(");");
}

QString registroFechamento(const ContextoComunicacao& c, bool sucesso) {
    return cabecalhoLog() + Conexao::inteiro(c.vendedor.inteiro("id_vendedor")) +
           (sucesso ? QStringLiteral(", 'Sucesso - ") : QStringLiteral(", 'Erro - ")) + textoTipo(c.tipo) +
           QLatin1Char('/') + QString::number(c.pedidosEnviados) + QStringLiteral(" Pedido(s)") + versao() +
           QStringLiteral("',") + Conexao::inteiro(c.empresaCabeca) + QStringLiteral(");");
}

bool abrirComunicacao(ContextoComunicacao& c) {
    if (!validarVendedor(c))
        return false;
    if (c.sistema != QStringLiteral("gerente") && c.sistema != QStringLiteral("zor")) {
        c.aviso(QStringLiteral("Sistema \"") + c.sistema + QStringLiteral("\" desconhecido!"));
        return false;
    }
    ErroSql erro;
    if (!c.conexao.executar(registroAbertura(c), &erro)) {
        c.erroComando(erro);
        return false;
    }
    return lerDataServidor(c) && verificarVersao(c);
}

} // namespace qav::sync
