// SPDX-License-Identifier: MIT
// help_viewer.h: the help window: the pages of rubicel.chm in a text browser owned by the main window.
#pragma once

#include <QStringList>
#include <QTextBrowser>
#include <QWidget>
#include <memory>
#include <string>

namespace rubicel {

class ChmFile;

// A text browser whose "chm:" pages come from a compiled help file.
class ChmBrowser : public QTextBrowser {
public:
    explicit ChmBrowser(QWidget* parent = nullptr);
    ~ChmBrowser() override;
    // Opens the help file; false when it cannot be read, and why in problem.
    bool openFile(const QString& path, QString* problem = nullptr);
    // Shows the page the file opens at.
    void showDefaultTopic();
    // Shows a page of the file the link points to, or opens a web address.
    void followLink(const QUrl& link);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::unique_ptr<ChmFile> file_;
};

// The help window: Contents, Back and Forward over the pages of one help file.
class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QWidget* owner);
    bool openFile(const QString& path, QString* problem = nullptr);
    ChmBrowser* browser() const { return browser_; }
    const QString& path() const { return path_; }

private:
    ChmBrowser* browser_;
    QString path_;
};

// The folders searched for the help file, in order: the folders of the shipped
// files (the program's folder, ../share/rubicel beside it, and for a program
// left in the build tree its share/rubicel), then the working folder (the file
// is named without a folder).
QStringList helpFolders();
// Returns the full path of file in the first folder that holds it, or empty.
QString findHelpFile(const QString& file);

// Opens file at its default topic in a viewer owned by owner, or tells the user
// where it was looked for. Returns the viewer, or null.
HelpViewer* openHtmlHelp(QWidget* owner, const std::string& file);

}  // namespace rubicel
