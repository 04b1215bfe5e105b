// SPDX-License-Identifier: MIT
// folder_panel.cpp: the folder tree of the folder panel.
#include "platform/qt/folder_panel.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QTreeView>

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
    const QModelIndex start = model_->index(startFolder_);
    if (start.isValid()) {
        tree_->setCurrentIndex(start);
        tree_->scrollTo(start);
    }
}

}  // namespace rubicel
