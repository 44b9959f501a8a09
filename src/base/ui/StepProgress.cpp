#include "base/ui/StepProgress.h"

#include "base/LinkSequence.h"

#include <QLabel>
#include <QProgressDialog>

namespace {
StepProgress::Observer g_observer;
}  // namespace

StepProgress::StepProgress(QWidget* owner, const QString& title, bool cancellable)
    : owner_(owner), title_(title), cancellable_(cancellable)
{
}

StepProgress::~StepProgress() = default;

StepProgress::Observer StepProgress::SetObserver(Observer observer)
{
    std::swap(g_observer, observer);
    return observer;
}

bool StepProgress::Step(const std::string& step)
{
    if (cancelled_.load()) return false;
    OnUiThread([this, &step] {
        if (!window_) {
            window_ = std::make_unique<QProgressDialog>(owner_);
            window_->setWindowTitle(title_);
            window_->setAccessibleName(title_);
            // The steps are the program's own words, shown as they are.
            auto* label = new QLabel(window_.get());
            label->setTextFormat(Qt::PlainText);
            label->setAccessibleName(QObject::tr("Step"));
            window_->setLabel(label);
            window_->setRange(0, 0);  // the number of steps depends on what the logger holds
            window_->setMinimumDuration(0);
            window_->setAutoClose(false);
            window_->setAutoReset(false);
            window_->setMinimumWidth(320);
            if (cancellable_)
                QObject::connect(window_.get(), &QProgressDialog::canceled,
                                 [this] { cancelled_.store(true); });
            else
                window_->setCancelButton(nullptr);
            window_->show();
        }
        window_->setLabelText(QString::fromStdString(step));
        if (g_observer) g_observer(*window_, step);
    });
    return !cancelled_.load();
}
