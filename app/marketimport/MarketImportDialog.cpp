#include "marketimport/MarketImportDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>

#include "common/DisplayText.h"
#include "marketimport/ImportedMarket.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "ui_MarketImportDialog.h"

namespace orvane::app {

namespace {

std::filesystem::path pathIn(const QLineEdit* field) {
    return field->text().trimmed().toStdString();
}

QString linesOf(const std::vector<std::string>& notes) {
    QString text;
    for (const std::string& note : notes) text += "\n" + qs(note);
    return text;
}

}  // namespace

MarketImportDialog::MarketImportDialog(ImportedMarket& market, QWidget* parent)
    : QDialog(parent), market_(market), ui_(std::make_unique<Ui::MarketImportDialog>()) {
    ui_->setupUi(this);
    if (const auto choice = rememberedImportChoice()) {
        ui_->sourceEdit->setText(qs(choice->source.string()));
        ui_->stockListEdit->setText(qs(choice->stockList.string()));
        ui_->eventsEdit->setText(qs(choice->events.string()));
    }
    connect(ui_->sourceEdit, &QLineEdit::editingFinished, this, [this] {
        if (ui_->sourceEdit->isModified()) surveySource();
        ui_->sourceEdit->setModified(false);
    });
    connect(ui_->chooseFolderButton, &QPushButton::clicked, this, [this] {
        choosePath(ui_->sourceEdit, true, QStringLiteral("行情所在的文件夹"), {});
        surveySource();
    });
    connect(ui_->chooseFileButton, &QPushButton::clicked, this, [this] {
        choosePath(ui_->sourceEdit, false, QStringLiteral("整个市场的一个文件"),
                   QStringLiteral("CSV (*.csv *.txt);;所有文件 (*)"));
        surveySource();
    });
    connect(ui_->chooseStockListButton, &QPushButton::clicked, this, [this] {
        choosePath(ui_->stockListEdit, false, QStringLiteral("股票列表"),
                   QStringLiteral("CSV (*.csv *.txt);;所有文件 (*)"));
    });
    connect(ui_->chooseEventsButton, &QPushButton::clicked, this, [this] {
        choosePath(ui_->eventsEdit, false, QStringLiteral("除权除息事件"),
                   QStringLiteral("CSV (*.csv);;所有文件 (*)"));
    });
    connect(ui_->importButton, &QPushButton::clicked, this, &MarketImportDialog::startImport);
    connect(ui_->stopButton, &QPushButton::clicked, &market_, &ImportedMarket::stopImport);
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(&market_, &ImportedMarket::importEnded, this, &MarketImportDialog::showOutcome);
    progressTimer_.setInterval(100);
    connect(&progressTimer_, &QTimer::timeout, this, &MarketImportDialog::showProgress);
    if (market_.importing()) progressTimer_.start();
    showProgress();
    if (!ui_->sourceEdit->text().isEmpty()) surveySource();
    updateButtons();
}

MarketImportDialog::~MarketImportDialog() = default;  // the surveys' threads join

void MarketImportDialog::choosePath(QLineEdit* field, bool folder, const QString& title,
                                    const QString& filter) {
    const QString start = field->text().isEmpty() ? QDir::homePath() : field->text();
    const QString chosen = folder ? QFileDialog::getExistingDirectory(this, title, start)
                                  : QFileDialog::getOpenFileName(this, title, start, filter);
    if (!chosen.isEmpty()) field->setText(chosen);
}

void MarketImportDialog::surveySource() {
    std::erase_if(surveys_, [](const Survey& s) { return s.done->load(); });
    const int number = ++surveyShown_;
    sourceReadable_ = false;
    ui_->layoutLabel->setText(QStringLiteral("正在查看…"));
    ui_->stockCountLabel->setText(QStringLiteral("—"));
    updateButtons();
    auto done = std::make_shared<std::atomic<bool>>(false);
    const std::filesystem::path source = pathIn(ui_->sourceEdit);
    surveys_.push_back({std::jthread([this, source, number, done] {
                            yieldToTheWindow();
                            MarketSurvey survey = surveyMarket(source);
                            postToMainThread([self = QPointer(this), number, survey] {
                                if (self && number == self->surveyShown_) self->showSurvey(survey);
                            });
                            *done = true;
                        }),
                        done});
}

void MarketImportDialog::showSurvey(const MarketSurvey& survey) {
    sourceReadable_ = survey.found;
    if (survey.found) {
        ui_->layoutLabel->setText(qs(layoutDisplayName(survey.layout)));
        ui_->stockCountLabel->setText(QStringLiteral("%1 只").arg(survey.stocks) +
                                      linesOf(survey.notes));
    } else {
        ui_->layoutLabel->setText(QStringLiteral("没有认出的格式"));
        ui_->stockCountLabel->setText(qs(survey.problem));
    }
    updateButtons();
    Q_EMIT surveyShown();
}

void MarketImportDialog::startImport() {
    const ImportChoice choice{pathIn(ui_->sourceEdit), pathIn(ui_->stockListEdit),
                              pathIn(ui_->eventsEdit)};
    if (!sourceReadable_ || !market_.startImport(choice)) return;
    ui_->progressLabel->setText(QStringLiteral("正在读取行情…"));
    progressTimer_.start();
    showProgress();
    updateButtons();
}

void MarketImportDialog::showProgress() {
    if (!market_.importing()) {
        progressTimer_.stop();
        updateButtons();
        return;
    }
    const ImportedMarket::Status status = market_.status();
    const QString who = status.background ? QStringLiteral("（行情文件夹有新数据）") : QString();
    if (status.progress.step == ImportStep::Reading) {
        ui_->progressBar->setRange(0, 0);
        ui_->progressLabel->setText(QStringLiteral("正在读取行情…") + who);
    } else {
        ui_->progressBar->setRange(0, static_cast<int>(status.progress.total));
        ui_->progressBar->setValue(static_cast<int>(status.progress.done));
        // The composite indexes are published after the stocks, like them.
        ui_->progressLabel->setText(QStringLiteral("正在发布：%1 / %2（股票与合成指数）")
                                        .arg(status.progress.done)
                                        .arg(status.progress.total) +
                                    who);
    }
    updateButtons();
}

void MarketImportDialog::showOutcome(const ImportOutcome& outcome, bool) {
    progressTimer_.stop();
    ui_->progressBar->setRange(0, 100);
    switch (outcome.result) {
        case ImportOutcome::Result::Published: {
            ui_->progressBar->setValue(100);
            QString text = QStringLiteral("已导入 %1 只股票，用时 %2 秒；程序现在使用这份行情。")
                               .arg(outcome.stocks)
                               .arg(outcome.seconds, 0, 'f', 1);
            if (outcome.skipped > 0)
                text += QStringLiteral("\n%1 个无法读取的文件或行已跳过。").arg(outcome.skipped);
            ui_->progressLabel->setText(text + linesOf(outcome.notes));
            break;
        }
        case ImportOutcome::Result::Stopped:
            ui_->progressBar->setValue(0);
            ui_->progressLabel->setText(QStringLiteral("导入已停止，原来的行情和设置不变。"));
            break;
        case ImportOutcome::Result::Failed:
            ui_->progressBar->setValue(0);
            ui_->progressLabel->setText(QStringLiteral("导入失败：") + qs(outcome.message) +
                                        QStringLiteral("\n原来的行情和设置不变。"));
            break;
    }
    updateButtons();
}

void MarketImportDialog::updateButtons() {
    const bool importing = market_.importing();
    ui_->importButton->setEnabled(!importing && sourceReadable_);
    ui_->stopButton->setEnabled(importing);
    const std::initializer_list<QWidget*> fields = {
        ui_->sourceEdit,        ui_->chooseFolderButton,    ui_->chooseFileButton,
        ui_->stockListEdit,     ui_->chooseStockListButton, ui_->eventsEdit,
        ui_->chooseEventsButton};
    for (QWidget* field : fields) field->setEnabled(!importing);
}

}  // namespace orvane::app
