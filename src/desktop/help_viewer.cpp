// SPDX-License-Identifier: MIT
// help_viewer.cpp: the help window: the pages of rubicel.chm in a text browser owned by the main window.
#include "desktop/help_viewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/data_path.h"
#include "desktop/chm_file.h"

namespace rubicel {

namespace {
constexpr const char* kScheme = "chm";
constexpr const char* kViewerName = "HelpViewer";
}  // namespace

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed here: pages of the file in this window, web addresses
    // in the desktop's browser.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::followLink);
}

void ChmBrowser::followLink(const QUrl& link) {
    const QUrl url = source().resolved(link);
    if (url.scheme() == kScheme) {
        setSource(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

ChmBrowser::~ChmBrowser() = default;

bool ChmBrowser::openFile(const QString& path, QString* problem) {
    file_ = std::make_unique<ChmFile>(QFile::encodeName(path).toStdString());
    if (!file_->isOpen()) {
        if (problem) *problem = QString::fromStdString(file_->problem());
        file_.reset();
        return false;
    }
    return true;
}

void ChmBrowser::showDefaultTopic() {
    if (!file_) return;
    clearHistory();
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QString::fromStdString(file_->defaultTopic()));
    setSource(url);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() != kScheme || !file_) return QTextBrowser::loadResource(type, name);
    const ChmObject object = file_->read(name.path().toStdString());
    if (object.status == ChmObject::TooLarge && type == QTextDocument::HtmlResource)
        return QString("<html><body><p>The help page %1 is not shown: the help file says it is larger than "
                       "%2 MB, so the file is probably damaged.</p></body></html>")
            .arg(name.path().toHtmlEscaped())
            .arg(ChmFile::kObjectLimit >> 20);
    if (object.status == ChmObject::Damaged && type == QTextDocument::HtmlResource)
        return QString("<html><body><p>The help page %1 is not shown: the help file places it outside its "
                       "compressed content, so the file is damaged.</p></body></html>")
            .arg(name.path().toHtmlEscaped());
    if (!object) return {};
    const QByteArray data(reinterpret_cast<const char*>(object.bytes.data()), qsizetype(object.bytes.size()));
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(data);
    return data;
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new ChmBrowser(this)) {
    setObjectName(kViewerName);
    setWindowTitle("Rubicel Help");
    auto* contents = new QPushButton("&Contents", this);
    auto* back = new QPushButton("&Back", this);
    auto* forward = new QPushButton("&Forward", this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, browser_, &ChmBrowser::showDefaultTopic);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QString("Rubicel Help") : "Rubicel Help - " + title);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 560);
}

bool HelpViewer::openFile(const QString& path, QString* problem) {
    if (!browser_->openFile(path, problem)) return false;
    path_ = path;
    browser_->showDefaultTopic();
    return true;
}

QStringList helpFolders() {
    QStringList folders;
    for (const auto& folder : dataFolders()) folders << QDir::cleanPath(QString::fromStdString(folder.string()));
    // Last, so a file of that name left in the current folder never stands in
    // for the one shipped with the program.
    folders << QDir::currentPath();
    folders.removeDuplicates();
    return folders;
}

QString findHelpFile(const QString& file) {
    for (const QString& folder : helpFolders()) {
        const QFileInfo info(QDir(folder), file);
        if (info.isFile()) return info.absoluteFilePath();
    }
    return {};
}

HelpViewer* openHtmlHelp(QWidget* owner, const std::string& file) {
    const QString name = QString::fromStdString(file);
    const QString path = findHelpFile(name);
    if (path.isEmpty()) {
        QMessageBox::warning(owner, "Rubicel",
                             "The help file " + name + " was not found.\nRubicel looks for it in:\n" +
                                 helpFolders().join('\n'));
        return nullptr;
    }
    // HelpViewer has no meta-object of its own, so findChild can only look for a
    // widget by name; the cast checks that it is the viewer.
    auto* viewer =
        owner ? dynamic_cast<HelpViewer*>(owner->findChild<QWidget*>(kViewerName, Qt::FindDirectChildrenOnly)) : nullptr;
    if (!viewer) viewer = new HelpViewer(owner);
    if (viewer->path() != path || viewer->browser()->source().isEmpty()) {
        QString problem;
        if (!viewer->openFile(path, &problem)) {
            QMessageBox::warning(owner, "Rubicel",
                                 "The help file " + path + " cannot be read" +
                                     (problem.isEmpty() ? QString() : ": " + problem) + ".");
            if (!owner) delete viewer;
            return nullptr;
        }
    } else {
        viewer->browser()->showDefaultTopic();
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

}  // namespace rubicel
