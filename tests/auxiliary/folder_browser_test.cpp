#include "auxiliary/folder_browser.h"
#include "auxiliary/new_folder_dialog.h"
#include "settings/settings_store.h"
#include "support/temp_home.h"
#include "ui_support/ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Runs `act` on the browser as soon as it is showing.
void WithNextBrowser(std::function<void(FolderBrowserDialog&)> act) {
    QTimer::singleShot(10, [act] {
        auto* browser = qobject_cast<FolderBrowserDialog*>(QApplication::activeModalWidget());
        if (browser)
            act(*browser);
        else
            WithNextBrowser(act);
    });
}

class FolderBrowser : public testing::Test {
protected:
    void SetUp() override {
        tw::test::EnsureApplication();
        QDir().mkpath(root + "/pick/inner");
    }
    QString root = QString::fromStdString(tw::test::CurrentHome().work.string());
};

TEST_F(FolderBrowser, ReturnsTheChosenFolderOrCanceled) {
    QString path = root + "/pick";
    WithNextBrowser([&](FolderBrowserDialog& browser) {
        EXPECT_EQ(browser.SelectedPath(), root + "/pick/");
        browser.accept();
    });
    EXPECT_TRUE(BrowseForFolder(nullptr, "Select :", false, path));
    EXPECT_EQ(path, root + "/pick");

    path = "/";
    WithNextBrowser([](FolderBrowserDialog& browser) { browser.accept(); });
    EXPECT_TRUE(BrowseForFolder(nullptr, "Select :", false, path));
    EXPECT_EQ(path, "/");

    path = root;
    WithNextBrowser([](FolderBrowserDialog& browser) { browser.reject(); });
    EXPECT_FALSE(BrowseForFolder(nullptr, "Select :", false, path));
    EXPECT_EQ(path, "CANCELED");
}

TEST_F(FolderBrowser, TheNameFolderBoxIsStoredAtOnceEvenOnCancel) {
    QString path = root;
    WithNextBrowser([](FolderBrowserDialog& browser) {
        auto* box = browser.findChild<QCheckBox*>("12012");
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isChecked());
        box->click();
        EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Name Folder", 9), 1u);
        browser.reject();
    });
    EXPECT_FALSE(BrowseForFolder(nullptr, "Select :", true, path));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Name Folder", 9), 1u);

    WithNextBrowser([](FolderBrowserDialog& browser) {
        EXPECT_EQ(browser.findChild<QCheckBox*>("12012") != nullptr, false);
        browser.reject();
    });
    BrowseForFolder(nullptr, "Select :", false, path);
}

TEST_F(FolderBrowser, NewFolderCreatesMyFolderBelowTheSelectionAndSelectsIt) {
    QString path = root + "/pick";
    WithNextBrowser([&](FolderBrowserDialog& browser) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<NewFolderDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->findChild<QLineEdit*>("1011")->text(), "MY FOLDER");
            EXPECT_EQ(dialog->findChild<QLineEdit*>("1014")->text(), (root + "/pick/").toUpper());
            dialog->accept();
        });
        browser.findChild<QPushButton*>("12013")->click();
        EXPECT_EQ(browser.SelectedPath(), root + "/pick/MY FOLDER/");
        browser.accept();
    });
    EXPECT_TRUE(BrowseForFolder(nullptr, "Select :", false, path));
    EXPECT_EQ(path, root + "/pick/MY FOLDER");
    EXPECT_TRUE(QDir(path).exists());
}

TEST_F(FolderBrowser, AWorkerWaitsForTheBrowserOnTheUiThread) {
    QString path = root + "/pick";
    bool chosen = false;
    std::thread worker([&] {
        chosen = BrowseForFolder(nullptr, "Select :", false, path);
        QMetaObject::invokeMethod(qApp, [] { QApplication::exit(0); });
    });
    WithNextBrowser([](FolderBrowserDialog& browser) { browser.accept(); });
    QApplication::exec();
    worker.join();
    EXPECT_TRUE(chosen);
    EXPECT_EQ(path, root + "/pick");
}

} // namespace
