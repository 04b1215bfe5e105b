// SPDX-License-Identifier: MIT
// folder_panel.cpp: the folder tree of the folder panel.
#include "desktop/folder_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QTreeView>

#include <memory>

namespace rubicel {

FolderPanel::FolderPanel(QWidget* parent, const QString& startFolder)
    : QFrame(parent), startFolder_(startFolder) {
    setObjectName("findloc");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    auto* label = new QLabel("Select folder containing the MEG064 MOLA DEM files", this);
    label->setObjectName("Label4");
    label->setWordWrap(true);

    tree_ = new QTreeView(this);
    tree_->setObjectName("Dir002");
    tree_->setToolTip("Select Folder");
    tree_->setHeaderHidden(true);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("setfolder");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->addWidget(label);
    layout->addWidget(tree_, 1);
    layout->addWidget(close, 0, Qt::AlignHCenter);

    connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (onFolderClicked && model_) onFolderClicked(QDir::toNativeSeparators(model_->filePath(index)));
    });
    connect(close, &QPushButton::clicked, this, [this] {
        if (onClose) onClose();
    });
    hide();
}

void FolderPanel::showEvent(QShowEvent* event) {
    // The folder model watches the disk from its own thread: it starts the
    // first time the panel is shown, not with the program.
    if (!model_) openAtStartFolder();
    QFrame::showEvent(event);
}

void FolderPanel::openAtStartFolder() {
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setRootPath(QDir::rootPath());
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    reveal(startFolder_);
    // The folders are read in the background: the start folder is shown again
    // once the folder holding it has been read.
    const QString parent = QFileInfo(startFolder_).absolutePath();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(model_, &QFileSystemModel::directoryLoaded, this, [this, parent, connection](const QString& path) {
        if (!parent.startsWith(path)) return;
        reveal(startFolder_);
        if (path == parent) disconnect(*connection);
    });
}

void FolderPanel::reveal(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    tree_->setCurrentIndex(index);
    // Scrolled once the view has laid out the rows just read.
    QTimer::singleShot(0, tree_, [this, index = QPersistentModelIndex(index)] {
        if (!index.isValid()) return;
        tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
        tree_->viewport()->update();
    });
}

}  // namespace rubicel
