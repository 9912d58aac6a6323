#pragma once

// Answers the modal dialogs a handler opens, so a test of it runs without a person: every few
// milliseconds the active modal widget, if any, is recorded and handed to `answer`, which must
// close it. Message boxes are closed by default; a progress dialog is left to its work.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <functional>

class ModalWatcher {
  public:
    explicit ModalWatcher(std::function<void(QWidget*)> answerModal = nullptr)
        : answer(std::move(answerModal)) {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { Look(); });
        timer.start();
    }

    // "title|text" of each message box, the title alone for other dialogs, in order.
    QStringList seen;

  private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || qobject_cast<QProgressDialog*>(modal))
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << box->windowTitle() + '|' + box->text();
            box->done(QMessageBox::Ok);
            return;
        }
        seen << modal->windowTitle();
        QPointer<QWidget> guard = modal;
        if (answer)
            answer(modal);
        // An answer cut short by a failed check must not leave the test waiting forever.
        if (guard && guard->isVisible())
            guard->close();
    }

    std::function<void(QWidget*)> answer;
    QTimer timer;
};
