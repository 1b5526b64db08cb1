#pragma once

#include "platform/registry.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace tw::test {

// Answers every message box that comes up while it lives with `answer` when the box offers it
// (OK otherwise), and records the texts.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            texts_ << box->text();
            titles_ << box->windowTitle();
            QAbstractButton* button = box->button(answer_);
            if (!button)
                button = box->button(QMessageBox::Ok);
            if (button)
                button->click();
            else
                box->done(0);
        });
        timer_.start(5);
    }
    const QStringList& Texts() const { return texts_; }
    const QStringList& Titles() const { return titles_; }

private:
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    QStringList texts_;
    QStringList titles_;
};

inline QString WorkPath(const QString& name) {
    return QString::fromStdString(CurrentHome().work.string()) + u'/' + name;
}

inline bool ProgramValueExists(const QString& name, const QString& key = kProgramKey) {
    return platform::registry::QueryValue(HKEY_LOCAL_MACHINE, key.toStdString(), name.toStdString())
        .has_value();
}

class SettingsDialogFixture : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        dialog = std::make_unique<SettingsDialog>(masks);
    }

    // Shown as exec() would show it, without waiting.
    void Open() {
        dialog->show();
        ASSERT_TRUE(dialog->isVisible());
    }

    template <typename T = QWidget> T& Control(int id) {
        T* control = dialog->findChild<T*>(QString::number(id));
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    void Click(int id) { Control<QAbstractButton>(id).click(); }

    QStringList masks;
    std::unique_ptr<SettingsDialog> dialog;
};

} // namespace tw::test
