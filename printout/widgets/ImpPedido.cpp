#include "printout/widgets/ImpPedido.h"
#include "ui/widgets/BusyCursor.h"

#include "base/core/Mail.h"
#include "base/core/Settings.h"
#include "printout/core/ArquivoPdf.h"
#include "printout/core/CorpoEmail.h"
#include "printout/core/EmailCliente.h"
#include "store/core/Store.h"
#include "store/core/Table.h"
#include "ui/widgets/FieldValidator.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

using impressao::Modelo;

namespace {

int QAVCFGModeloPedido(Store& store, int idEmpresa) {
    Table qavcfg(store, "qavcfg");
    if (!qavcfg.open())
        return 0;
    qavcfg.rec().setInteger("ID_EMPRESA", idEmpresa);
    // A company without its configuration record is offered every model, as a cleared record is.
    return qavcfg.get("KEYID_EMPRESA") == Status::Ok ? static_cast<int>(qavcfg.rec().integer("MODELO_PEDIDO"))
                                                     : 0;
}

QPushButton* botao(QWidget* parent, const QString& texto, const char* nome) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(QString::fromLatin1(nome));
    // No button answers Enter by itself: a print must never start by surprise.
    b->setAutoDefault(false);
    return b;
}

// An items file that cannot be read is not an order without items: the user is told which file is
// damaged and what to do. Empty when the items can be read.
QString itensIlegiveis(Store& store, int idPedido) {
    Table itens(store, "peditens");
    Status s = Status::Error;
    if (itens.open()) {
        itens.clear();
        itens.rec().setInteger("ID_VENDA", idPedido);
        s = itens.seek("KEYORDEM", 1);
        if (s == Status::Ok)
            s = itens.next();
    }
    if (s != Status::Error)
        return {};
    return u"Os itens do pedido não podem ser lidos: %1 está vazio ou danificado (%2).|Execute o qavbd para "
           u"reparar o arquivo ou restaure a última cópia de segurança."_s.arg(
               QString::fromLatin1(itens.def().fileName), itens.error().text);
}

} // namespace

void ImpPedido::executar(QWidget* parent, const ListContext& contexto, int idPedido) {
    {
        Store store(contexto.dataFolder);
        if (const QString ilegiveis = itensIlegiveis(store, idPedido); !ilegiveis.isEmpty()) {
            MessageBox::show(ilegiveis, u"Erro"_s, Icon::Critical, {Button::Ok}, Button::None, parent);
            return;
        }
        if (!impressao::pedidoTemItens(store, idPedido)) {
            MessageBox::show(u"Pedido sem itens!"_s, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::None,
                             parent);
            return;
        }
    }
    ImpPedido janela(contexto, idPedido, parent);
    if (!janela.documento()) {
        MessageBox::show(janela.falhaLeitura(), u"Erro"_s, Icon::Critical, {Button::Ok}, Button::None,
                         parent);
        return;
    }
    janela.exec();
}

ImpPedido::ImpPedido(const ListContext& contexto, int idPedido, QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_idPedido(idPedido),
      m_store(std::make_unique<Store>(contexto.dataFolder)) {
    setObjectName(u"ImpPedido"_s);
    setWindowTitle(u"Pedido"_s);
    montar();

    const Settings settings(m_contexto.programFolder);
    m_outlook->setChecked(settings.mailOutlookOffice());
    m_ordemProduto->setChecked(settings.impPedidoOrdemProduto());
    preencherModelos();
    lerDocumento();
    if (m_documento) {
        m_email->setText(impressao::emailInicial(m_documento->cliente));
        m_email->setCursorPosition(0);
    }

    // The check box is remembered at once, the model and the item order when the window closes.
    connect(m_outlook, &QCheckBox::toggled, this,
            [this](bool marcado) { Settings(m_contexto.programFolder).setMailOutlookOffice(marcado); });
    connect(m_ordemProduto, &QCheckBox::toggled, this, &ImpPedido::trocarOrdem);
    connect(m_email, &QLineEdit::textChanged, this, &ImpPedido::atualizarBotoes);
    connect(m_modelos, &QListWidget::currentRowChanged, this, [this](int linha) {
        if (linha >= 0)
            m_modelo = static_cast<Modelo>(m_modelos->item(linha)->data(Qt::UserRole).toInt());
    });
    connect(m_visualizar, &QPushButton::clicked, this, &ImpPedido::visualizar);
    connect(m_imprimir, &QPushButton::clicked, this, &ImpPedido::imprimir);
    connect(m_enviarEmail, &QPushButton::clicked, this, &ImpPedido::enviarEmail);
    connect(m_pdf, &QPushButton::clicked, this, &ImpPedido::gerarPdf);
    connect(m_fechar, &QPushButton::clicked, this, &QDialog::reject);
    atualizarBotoes();
}

ImpPedido::~ImpPedido() = default;

void ImpPedido::montar() {
    auto* esquerda = new QVBoxLayout;
    auto* rotuloModelo = new QLabel(u"Modelo"_s, this);
    m_modelos = new QListWidget(this);
    m_modelos->setObjectName(u"modelos"_s);
    rotuloModelo->setBuddy(m_modelos);
    // One column of 30 characters, tall enough for the four models.
    const int largura = fontMetrics().averageCharWidth() * 30 + 2 * m_modelos->frameWidth() + 4;
    m_modelos->setFixedWidth(largura);
    m_modelos->setFixedHeight(fontMetrics().height() * 5 + 2 * m_modelos->frameWidth());
    esquerda->addWidget(rotuloModelo);
    esquerda->addWidget(m_modelos);

    auto* linhaEmail = new QFormLayout;
    m_email = new QLineEdit(this);
    m_email->setObjectName(u"email"_s);
    m_email->setMaxLength(100);
    // Wide enough to read a whole address of the usual length.
    m_email->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    // The address is remembered in the customer's record: only what its field holds is taken.
    if (const TableDef* clientes = findTable("clientes"))
        limitToField(m_email, *clientes, "EMAIL_QAV");
    linhaEmail->addRow(u"e-mail:"_s, m_email);
    esquerda->addLayout(linhaEmail);

    m_outlook = new QCheckBox(u"Outlook Office"_s, this);
    m_outlook->setObjectName(u"outlookOffice"_s);
    m_ordemProduto = new QCheckBox(u"Ordem Produto"_s, this);
    m_ordemProduto->setObjectName(u"ordemProduto"_s);
    esquerda->addWidget(m_outlook);
    esquerda->addWidget(m_ordemProduto);
    esquerda->addStretch();

    auto* direita = new QVBoxLayout;
    m_visualizar = botao(this, u"&Visualizar"_s, "visualizar");
    m_imprimir = botao(this, u"&Imprimir"_s, "imprimir");
    m_enviarEmail = botao(this, u"&Enviar e-mail"_s, "enviarEmail");
    m_enviarEmail->setToolTip(u"Agora você tem a nova opção de transmitir\numa cópia do pedido direto para o "
                              u"e-mail do\ncliente. Basta ter o endereço no cadastro de clientes!!"_s);
    m_pdf = botao(this, u"&PDF"_s, "pdf");
    m_fechar = botao(this, u"&Fechar"_s, "fechar");
    for (QPushButton* b : {m_visualizar, m_imprimir, m_enviarEmail, m_pdf, m_fechar})
        direita->addWidget(b);
    direita->addStretch();

    auto* principal = new QHBoxLayout(this);
    principal->addLayout(esquerda, 1);
    principal->addLayout(direita);
}

void ImpPedido::preencherModelos() {
    const int lembrado = Settings(m_contexto.programFolder).impPedidoModelo();
    const auto oferecidos = impressao::modelosOferecidos(QAVCFGModeloPedido(*m_store, m_contexto.idEmpresa));
    int selecionar = 0;
    for (const impressao::ModeloOferecido& oferecido : oferecidos) {
        auto* item = new QListWidgetItem(oferecido.nome, m_modelos);
        item->setData(Qt::UserRole, static_cast<int>(oferecido.modelo));
        if (static_cast<int>(oferecido.modelo) == lembrado)
            selecionar = m_modelos->count() - 1;
    }
    // A model the company no longer offers is not printed: the first one it offers takes its place.
    if (!oferecidos.empty()) {
        m_modelos->setCurrentRow(selecionar);
        m_modelo = oferecidos[static_cast<size_t>(selecionar)].modelo;
    }
}

void ImpPedido::lerDocumento() {
    impressao::FalhaLeitura falha;
    const auto ordem =
        m_ordemProduto->isChecked() ? impressao::OrdemItens::Produto : impressao::OrdemItens::Entrada;
    m_documento = impressao::lerDocumento(*m_store, m_idPedido, ordem, &falha);
    m_falhaLeitura = m_documento ? QString() : falha.texto;
}

void ImpPedido::trocarOrdem(bool ordemProduto) {
    std::optional<impressao::DocumentoPedido> anterior = m_documento;
    lerDocumento();
    if (!m_documento) {
        // The order as read before stays, and the box shows the order its items are in.
        MessageBox::show(m_falhaLeitura, u"Erro"_s, Icon::Critical, {Button::Ok}, Button::None, this);
        m_documento = std::move(anterior);
        const QSignalBlocker bloqueio(m_ordemProduto);
        m_ordemProduto->setChecked(!ordemProduto);
    }
    atualizarBotoes();
}

void ImpPedido::atualizarBotoes() {
    const bool pronto = m_documento.has_value() && m_modelo.has_value();
    for (QPushButton* b : {m_visualizar, m_imprimir, m_pdf})
        b->setEnabled(pronto);
    m_enviarEmail->setEnabled(pronto && !m_email->text().trimmed().isEmpty());
}

impressao::OpcoesDesenho ImpPedido::opcoes(bool impressora) const {
    // The program folder holds the issuer's logo files; it is the current folder of the program.
    impressao::OpcoesDesenho o;
    o.pastaPrograma = m_contexto.programFolder.isEmpty() ? QDir::currentPath() : m_contexto.programFolder;
    // A printer prints on the paper chosen in its dialog (A4 unless the user picks another).
    o.manterPapel = impressora;
    return o;
}

void ImpPedido::visualizar() {
    if (!m_documento || !m_modelo)
        return;
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog previa(&impressora, this);
    previa.setObjectName(u"previa"_s);
    previa.setWindowTitle(u"Pedido"_s);
    // Large enough to read a page, on whatever screen the window is.
    if (const QScreen* tela = screen())
        previa.resize(tela->availableSize() * 8 / 10);
    connect(&previa, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* destino) {
        const BusyCursor ocupado;
        impressao::desenharPedido(*destino, *m_documento, *m_modelo, opcoes(true));
    });
    previa.exec();
}

void ImpPedido::imprimir() {
    if (!m_documento || !m_modelo)
        return;
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialogo(&impressora, this);
    dialogo.setWindowTitle(u"Imprimir"_s);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    int paginas = 0;
    {
        const BusyCursor ocupado;
        paginas = impressao::desenharPedido(impressora, *m_documento, *m_modelo, opcoes(true));
    }
    if (paginas == 0)
        MessageBox::show(u"Não foi possível imprimir o pedido!"_s, u"Erro"_s, Icon::Critical, {Button::Ok},
                         Button::None, this);
}

QString ImpPedido::gravarPdf() {
    if (!m_documento || !m_modelo)
        return {};
    const QString arquivo = impressao::arquivoPdfPedido(m_documento->numero, static_cast<int>(*m_modelo));
    Resultado gravado;
    {
        const BusyCursor ocupado;
        gravado = impressao::prepararPastaPdfPedidos();
        if (gravado.ok)
            gravado = impressao::gravarPdf(arquivo, *m_documento, *m_modelo, opcoes());
    }
    if (!gravado.ok) {
        MessageBox::show(gravado.erro, u"Erro"_s, Icon::Critical, {Button::Ok}, Button::None, this);
        return {};
    }
    return arquivo;
}

void ImpPedido::gerarPdf() {
    const QString arquivo = gravarPdf();
    if (arquivo.isEmpty())
        return;
    // A desktop without a program for PDF files would take the file and show nothing: asked first.
    const std::optional<QString> leitor = programaPadrao(u"application/pdf"_s);
    if ((!leitor || !leitor->isEmpty()) && QDesktopServices::openUrl(QUrl::fromLocalFile(arquivo)))
        return;
    // The file was written; there is only no program for PDF files. Say where it is and offer its
    // folder, where the user can open, copy or attach it.
    const QString pasta = QFileInfo(arquivo).absolutePath();
    const Button resposta = MessageBox::show(
        u"O PDF do pedido foi gravado em:\n"_s + QDir::toNativeSeparators(arquivo) +
            u"\n\nNão há programa para abrir arquivos PDF neste computador. Abrir a pasta do arquivo?"_s,
        u"Aviso"_s, Icon::Information, {Button::Yes, Button::No}, Button::Yes, this);
    if (resposta == Button::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(pasta));
}

void ImpPedido::enviarEmail() {
    const QString endereco = m_email->text().trimmed();
    if (endereco.isEmpty())
        return;
    const QString arquivo = gravarPdf();
    if (arquivo.isEmpty())
        return;
    const QString corpo = impressao::corpoEmail(*m_documento);
    // The mail program may change the current folder, which is the program folder.
    const QString pasta = QDir::currentPath();
    long resultado = kMapiSucesso;
    EntregaEmail entrega = EntregaEmail::ComAnexo;
    {
        // The window keeps painting while the mail program takes the message, but takes no second
        // request meanwhile.
        const BusyCursor ocupado;
        setEnabled(false);
        resultado =
            SENDMAIL(endereco, impressao::kAssuntoEmail, corpo, arquivo, kMapiMostrarMensagem, &entrega);
        setEnabled(true);
    }
    QDir::setCurrent(pasta);
    if (resultado == kMapiSucesso && entrega == EntregaEmail::SemAnexo)
        MessageBox::show(u"O programa de e-mail não recebeu o anexo.\nAnexe o arquivo "_s +
                             QDir::toNativeSeparators(arquivo) + u", mostrado na pasta que foi aberta."_s,
                         u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::None, this);
    if (resultado != kMapiSucesso) {
        if (resultado == kMapiDestinatarioInvalido) {
            // Not an address to keep for the customer's next orders.
            m_emailRecusado = endereco;
            MessageBox::show(u"E-mail inválido: "_s + endereco + u"!\nVerifique!!"_s, u"Erro"_s,
                             Icon::Critical, {Button::Ok}, Button::None, this);
        }
        MessageBox::show(GETMAPIERRORTEXT(resultado) + u"\nError number "_s + QString::number(resultado) +
                             u"\nArquivo: "_s + QDir::toNativeSeparators(arquivo),
                         u"Mail delivery error"_s, Icon::Critical, {Button::Ok}, Button::None, this);
    }
#ifdef Q_OS_WIN
    // The mail program took its copy of the attachment before its dialog closed.
    QFile::remove(arquivo);
#else
    // The desktop's mail program reads the attachment after it was handed the message: the file stays
    // in the user's own PDF folder (emptied of day-old files at start), or the customer would get the
    // e-mail without the order. It is only removed when the message did not get there.
    if (resultado != kMapiSucesso)
        QFile::remove(arquivo);
#endif
}

void ImpPedido::done(int resultado) {
    gravarAoFechar();
    QDialog::done(resultado);
}

void ImpPedido::gravarAoFechar() {
    if (m_fechado)
        return;
    m_fechado = true;
    const Settings settings(m_contexto.programFolder);
    if (m_modelo)
        settings.setImpPedidoModelo(static_cast<int>(*m_modelo));
    settings.setImpPedidoOrdemProduto(m_ordemProduto->isChecked());
    if (!m_documento || m_email->text().trimmed().isEmpty())
        return;
    if (!m_emailRecusado.isEmpty() && m_email->text().trimmed() == m_emailRecusado)
        return;
    StoreError erro;
    if (!impressao::lembrarEmailCliente(*m_store, m_documento->cliente.id, m_email->text(), &erro))
        MessageBox::show(u"Erro ("_s + QString::number(erro.number()) + u") ao grava cliente!"_s, u"Erro"_s,
                         Icon::Critical, {Button::Ok}, Button::None, this);
}

} // namespace qav
