#include "queries/widgets/DialogoRelatorio.h"

#include "base/core/WindowState.h"
#include "queries/core/ClienteConsulta.h"
#include "queries/core/RelatorioCtr.h"
#include "store/core/Clock.h"
#include "store/core/Store.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace qav {

DialogoRelatorio::DialogoRelatorio(const ListContext& contexto, const QString& nome, const QString& titulo,
                                   QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_store(std::make_unique<Store>(contexto.dataFolder)) {
    setObjectName(nome);
    setWindowTitle(titulo);
    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);
}

DialogoRelatorio::~DialogoRelatorio() = default;

void DialogoRelatorio::terminar() {
    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setAutoDefault(false);
    QPushButton* cancelar = botoes->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("cancelar"));
    cancelar->setAutoDefault(false);
    layout()->addWidget(botoes);
    connect(ok, &QPushButton::clicked, this, &DialogoRelatorio::imprimir);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    // Only the windows qavplus.INI keeps a place for remember where they were.
    if (!m_contexto.programFolder.isEmpty() && janela::todas().contains(objectName()))
        WindowStateBinder::attach(this, objectName(),
                                  QDir(m_contexto.programFolder).filePath(QStringLiteral("qavplus.INI")));
}

QLineEdit* DialogoRelatorio::entradaData(const char* nome) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(nome));
    e->setInputMask(QStringLiteral("99/99/9999"));
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    return e;
}

std::optional<Date> lerDataDigitada(QLineEdit* entrada, QWidget* pai) {
    // The mask leaves "  /  /    " in an entry nobody typed in.
    const QString texto = entrada->text();
    if (QString(texto).remove(QLatin1Char('/')).trimmed().isEmpty())
        return Date();
    const std::optional<Date> d = Date::fromBr(texto.toStdString());
    if (!d) {
        MessageBox::show(QStringLiteral("Data inválida!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, pai);
        entrada->setFocus();
    }
    return d;
}

bool DialogoRelatorio::lerPeriodo(QLineEdit* inicio, QLineEdit* fim, Date& de, Date& ate) {
    const std::optional<Date> a = lerDataDigitada(inicio, this);
    if (!a)
        return false;
    const std::optional<Date> b = lerDataDigitada(fim, this);
    if (!b)
        return false;
    if (a->isValid() && b->isValid() && *a > *b) {
        MessageBox::show(QStringLiteral("Período inicial maior que o período final!|Verifique!"),
                         QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        inicio->setFocus();
        return false;
    }
    de = *a;
    ate = *b;
    return true;
}

relatorio::ResultadoRelatorio DialogoRelatorio::desenharEm(QPrinter& destino, relatorio::Fonte& fonte) {
    QProgressDialog progresso(QStringLiteral("Gerando %1...").arg(fonte.titulo()),
                              QStringLiteral("&Cancelar"), 0, 100, this);
    progresso.setObjectName(QStringLiteral("progresso"));
    progresso.setWindowTitle(windowTitle());
    progresso.setWindowModality(Qt::WindowModal);
    progresso.setMinimumDuration(400);
    const relatorio::Cabecalho cabecalho{consulta::buscarEmpresa(*m_store, m_contexto.idEmpresa).nome,
                                         Clock::today()};
    // The printer's paper and orientation: the preview was set to the report's.
    return relatorio::desenhar(destino, cabecalho, fonte, true, [&progresso](int feito) {
        progresso.setValue(feito);
        return !progresso.wasCanceled();
    });
}

void DialogoRelatorio::imprimir() {
    const std::unique_ptr<relatorio::Fonte> fonte = montar();
    if (!fonte)
        return;
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    impressora.setPageOrientation(fonte->orientacao());
    impressora.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    impressora.setDocName(fonte->titulo());
    QPrintPreviewDialog previa(&impressora, this);
    previa.setObjectName(QStringLiteral("previa"));
    previa.setWindowTitle(fonte->titulo());
    if (const QScreen* tela = screen())
        previa.resize(tela->availableSize() * 8 / 10);
    QString erro;
    bool parar = false;
    connect(&previa, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* destino) {
        if (parar)
            return;
        const relatorio::ResultadoRelatorio r = desenharEm(*destino, *fonte);
        // A report cancelled or cut short by a table that failed is not shown half drawn.
        if (!r.ok()) {
            parar = true;
            erro = r.erro;
            QTimer::singleShot(0, &previa, &QDialog::reject);
        }
    });
    previa.exec();
    if (!erro.isEmpty()) {
        MessageBox::show(erro, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok, this);
        return;
    }
    if (!parar)
        accept();
}

} // namespace qav
