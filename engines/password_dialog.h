#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

// Dialog template 207: the prompt, a masked field and the note that the password serves the
// whole archive. The answer is the typed text after OK, or "CANCELED".
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { IDC_PASSWORD = 1100, IDC_PROMPT = 1019 };

    explicit PasswordDialog(const QString& prompt, QWidget* parent = nullptr);

    const QString& Answer() const { return answer_; }

    void accept() override;
    void reject() override;

private:
    QLineEdit* password_;
    QLabel* prompt_;
    QString answer_;
};

// Shows the dialog on the UI thread for whichever thread asks, one dialog at a time, and
// returns its answer.
QString ShowPasswordDialog(const QString& prompt);
