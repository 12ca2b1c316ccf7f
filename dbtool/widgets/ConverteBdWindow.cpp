#include "dbtool/widgets/ConverteBdWindow.h"

#include "base/core/Version.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qav {

namespace {
QGroupBox* group(const QString& title, QLabel* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}
} // namespace

ConverteBdWindow::ConverteBdWindow(QString dataFolder, QWidget* parent)
    : QDialog(parent), m_folder(std::move(dataFolder)), m_action(new QLabel), m_file(new QLabel),
      m_table(new QLabel), m_convert(new QPushButton(QStringLiteral("&Converte"))),
      m_close(new QPushButton(QStringLiteral("&Fechar"))) {
    setWindowTitle(QStringLiteral("Converte BD"));
    setObjectName(QStringLiteral("ConverteBD"));
    m_action->setObjectName(QStringLiteral("acao"));
    m_file->setObjectName(QStringLiteral("arquivo"));
    m_table->setObjectName(QStringLiteral("tabela"));
    m_convert->setObjectName(QStringLiteral("converte"));
    m_close->setObjectName(QStringLiteral("fechar"));
    m_file->setMinimumWidth(fontMetrics().averageCharWidth() * 50);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("Ação"), m_action));
    layout->addWidget(group(QStringLiteral("Arquivo"), m_file));
    layout->addWidget(group(QStringLiteral("Tabela"), m_table));
    auto* version = new QLabel(QStringLiteral("Versão do banco de dados: %1").arg(versaoBdRequerida));
    version->setObjectName(QStringLiteral("versao"));
    layout->addWidget(version);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_convert);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_convert, &QPushButton::clicked, this, &ConverteBdWindow::confirmAndConvert);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void ConverteBdWindow::confirmAndConvert() {
    const Button answer = MessageBox::show(
        QStringLiteral("Confirma executar rotina de conversão de base de dados?"), QStringLiteral("Confirme"),
        Icon::Question, {Button::Yes, Button::No}, Button::Yes, this);
    if (answer == Button::Yes)
        convertNow();
}

void ConverteBdWindow::convertNow() {
    m_convert->setEnabled(false);
    m_close->setEnabled(false);
    upgrade::ConverterHooks hooks;
    hooks.progress = [this](const QString& action, const QString& file, const QString& label) {
        showProgress(action, file, label);
    };
    hooks.warning = [this](Aviso aviso, const StoreError& error, const QString& text1) {
        return standardWarning(aviso, error, text1, {}, this);
    };
    m_result = upgrade::Converter(m_folder, hooks).run();
    m_convert->setEnabled(true);
    m_close->setEnabled(true);
    if (const QString text = upgrade::finalText(m_result); !text.isEmpty())
        MessageBox::show(text, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
    if (m_result.endText.isEmpty())
        accept();
    else
        done(2);
}

void ConverteBdWindow::showProgress(const QString& action, const QString& file, const QString& label) {
    m_action->setText(action.left(60));
    m_file->setText(file.right(50));
    m_table->setText(label.left(20));
    // Let the window repaint between tables: a large folder takes a while.
    QApplication::processEvents();
}

} // namespace qav
