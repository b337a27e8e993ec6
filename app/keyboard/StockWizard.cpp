#include "keyboard/StockWizard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

#include "common/StockCompletions.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

constexpr int kWidth = 260;
constexpr int kHeight = 230;
constexpr int kMargin = 6;  // from the window's edges

/// The stock a text names in full: a listed code, or a listed name.
std::string stockNamedBy(const QString& text) {
    const std::string typed = normaliseSearchKey(text.toStdString());
    if (isValidStockCode(typed) && CodeTable::shared().getStockCodeName(typed)) return typed;
    return CodeTable::shared().getStockCodeFromName(typed).value_or(std::string());
}

}  // namespace

StockWizard::StockWizard(StockCompletions& completions, QWidget* window)
    : QFrame(window, Qt::Popup),
      completions_(completions),
      window_(window),
      field_(new QLineEdit(this)),
      list_(new QListView(this)),
      notice_(new QLabel(QStringLiteral("没有找到"), this)) {
    setObjectName(QStringLiteral("stockWizard"));
    setFrameShape(QFrame::Box);
    setWindowTitle(QStringLiteral("键盘精灵"));
    resize(kWidth, kHeight);
    field_->setPlaceholderText(QStringLiteral("代码 / 拼音首字母 / 名称"));
    list_->setModel(&completions_);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setFocusPolicy(Qt::NoFocus);
    notice_->setAlignment(Qt::AlignCenter);
    notice_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(field_);
    layout->addWidget(notice_);
    layout->addWidget(list_, 1);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textEdited, this, &StockWizard::search);
    connect(field_, &QLineEdit::returnPressed, this, &StockWizard::choose);
    connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) {
        list_->setCurrentIndex(index);
        choose();
    });
}

void StockWizard::open(const QString& typed) {
    field_->setText(typed);
    search(typed);
    placeInWindow();
    show();
    raise();
    activateWindow();
    field_->setFocus(Qt::PopupFocusReason);
}

void StockWizard::placeInWindow() {
    const QRect area = window_->rect();
    const QPoint corner = window_->mapToGlobal(area.bottomRight());
    move(corner - QPoint(width() + kMargin, height() + kMargin));
}

void StockWizard::search(const QString& text) {
    // The model is the search field's too: it is filled again on every
    // keystroke, here or there, so what is shown is the text's own list.
    const int found = completions_.search(text);
    if (found > 0) list_->setCurrentIndex(completions_.index(0));
    const bool searched = isSearchKeyLongEnough(normaliseSearchKey(text.toStdString()));
    notice_->setVisible(searched && found == 0 && stockNamedBy(text).empty());
}

bool StockWizard::choose() {
    // The list may be another text's by now (the search field shares it).
    if (completions_.searchedText() != field_->text()) search(field_->text());
    const int row = list_->currentIndex().row();
    std::string code = row >= 0 ? completions_.codeAt(row) : std::string();
    if (code.empty()) code = stockNamedBy(field_->text());
    if (code.empty()) {
        notice_->show();
        return false;
    }
    close();
    Q_EMIT stockChosen(QString::fromStdString(code));
    return true;
}

void StockWizard::moveHighlight(int by) {
    const int rows = completions_.rowCount();
    if (rows == 0) return;
    const int row = std::clamp(list_->currentIndex().row() + by, 0, rows - 1);
    list_->setCurrentIndex(completions_.index(row));
}

bool StockWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                moveHighlight(-1);
                return true;
            case Qt::Key_Down:
                moveHighlight(1);
                return true;
            case Qt::Key_PageUp:
                moveHighlight(-10);
                return true;
            case Qt::Key_PageDown:
                moveHighlight(10);
                return true;
            case Qt::Key_Escape:
                close();
                return true;
            default:
                break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace orvane::app
