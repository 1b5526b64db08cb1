#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// Template 129, "About...": the picture, the product with its version, the archive formats, the
// contact lines and the date the program was built.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { IDC_ABOUT_TEXT = 1021, IDC_BUILD_DATE = 1024 };

    explicit AboutDialog(QWidget* owner = nullptr);

private:
    void OnInitDialog();

    QLabel* aboutText_;
    QLabel* buildDate_;
};

// The compiler's build date as the box shows it: "Jan  3 2002" becomes "Jan.  3, 2002".
QString BuildDateText(const QString& compilerDate);
