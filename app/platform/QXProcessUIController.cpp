#include "platform/QXProcessUIController.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include "orvane/core/MainThreadDispatcher.h"
#include "ui_ProcessingPanel.h"

namespace orvane::app {

namespace {

// A panel without a close button: it closes when the work is done.
constexpr Qt::WindowFlags kPanelFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

}  // namespace

std::shared_ptr<QXProcessUIController> QXProcessUIController::create() {
    return std::shared_ptr<QXProcessUIController>(new QXProcessUIController());
}

QXProcessUIController::QXProcessUIController()
    : progressDialog_(new QDialog(nullptr, kPanelFlags)) {
    Ui::ProcessingPanel ui;
    ui.setupUi(progressDialog_);
    progressTextField_ = ui.progressTextField;
    progressIndicator_ = ui.progressIndicator;
    displayStringTextField_ = ui.displayStringTextField;
    progressDialog_->setWindowModality(Qt::NonModal);
    // Escape dismisses the panel like a close; the work goes on without it.
    QObject::connect(progressDialog_, &QDialog::finished, [this] { model_.close(); });
}

QXProcessUIController::~QXProcessUIController() {
    if (!progressDialog_) return;  // went with its parent window
    QObject::disconnect(progressDialog_, nullptr, nullptr, nullptr);
    if (QThread::currentThread() == progressDialog_->thread())
        delete progressDialog_;
    else
        progressDialog_->deleteLater();
}

std::shared_ptr<QXProcessUIController> QXProcessUIController::defaultQXProcessUIController() {
    return std::dynamic_pointer_cast<QXProcessUIController>(ProgressPanel::shared());
}

void QXProcessUIController::setParentWindow(QWidget* window) {
    if (!progressDialog_) return;
    const bool visible = progressDialog_->isVisible();
    progressDialog_->setParent(window ? window->window() : nullptr, kPanelFlags);
    if (visible) bringToFront();
}

void QXProcessUIController::onMainThread(std::function<void(QXProcessUIController&)> change) {
    if (MainThreadDispatcher::shared()->isMainThread()) {
        if (progressDialog_) change(*this);
        return;
    }
    postToMainThread([weak = weak_from_this(), change = std::move(change)] {
        if (auto self = weak.lock(); self && self->progressDialog_) change(*self);
    });
}

void QXProcessUIController::showProgressPanel(int maxValue) {
    onMainThread([maxValue](QXProcessUIController& self) {
        self.model_.show(maxValue);
        self.progressIndicator_->setRange(0, 0);  // indeterminate, animating
        self.progressIndicator_->setValue(0);
        self.progressTextField_->setText(kProgressStartText);
        self.displayStringTextField_->clear();
        self.progressDialog_->adjustSize();
        self.bringToFront();
        self.centreOverParent();  // once shown, when its frame is known
    });
}

void QXProcessUIController::setDisplayString(const std::string& text) {
    onMainThread([text](QXProcessUIController& self) {
        if (!self.model_.isShown()) return;
        self.displayStringTextField_->setText(QString::fromStdString(text));
        self.bringToFront();
    });
}

void QXProcessUIController::setIndicatorCurrentProgress(int value) {
    onMainThread([value](QXProcessUIController& self) {
        const auto step = self.model_.advance(value);
        if (!step) return;
        self.progressIndicator_->setRange(0, self.model_.maxValue());
        self.progressIndicator_->setValue(step->barValue);
        self.progressTextField_->setText(QString::fromStdString(step->percentText));
        self.progressDialog_->repaint();
        if (step->closes) self.closeProgressPanel();
    });
}

void QXProcessUIController::closeProgressPanel() {
    onMainThread([](QXProcessUIController& self) {
        self.model_.close();
        // A determinate range stops the busy animation.
        self.progressIndicator_->setRange(0, self.model_.maxValue());
        self.progressDialog_->hide();
    });
}

void QXProcessUIController::centreOverParent() {
    const QWidget* parent = progressDialog_->parentWidget();
    if (!parent) return;
    // Frames centred on frames: move() places a window by its frame.
    const QRect area = parent->frameGeometry();
    const QSize room = area.size() - progressDialog_->frameGeometry().size();
    progressDialog_->move(area.topLeft() + QPoint(room.width() / 2, room.height() / 2));
}

void QXProcessUIController::bringToFront() {
    progressDialog_->show();
    progressDialog_->raise();
    // Drawn now: the main thread may be busy with a blocking fetch.
    progressDialog_->repaint();
}

}  // namespace orvane::app
