// SPDX-License-Identifier: MIT
// folder_panel.h: the folder panel findloc: a folder tree, its label and the Close button.
#pragma once

#include <QFrame>
#include <QString>

#include <functional>

class QFileSystemModel;
class QTreeView;

namespace rubicel {

// A frame laid over the top-left corner of the main window. One folder tree
// serves as drive and directory list; a single click on a folder reports its
// full path.
class FolderPanel : public QFrame {
public:
    FolderPanel(QWidget* parent, const QString& startFolder);

    std::function<void(const QString& fullPath)> onFolderClicked;
    std::function<void()> onClose;

    QTreeView* tree() const { return tree_; }
    QFileSystemModel* model() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openAtStartFolder();
    // Selects folder and scrolls it into view, opening the folders above it.
    void reveal(const QString& folder);

    QString startFolder_;
    QTreeView* tree_ = nullptr;
    QFileSystemModel* model_ = nullptr;
};

}  // namespace rubicel
