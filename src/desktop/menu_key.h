// SPDX-License-Identifier: MIT
// menu_key.h: the key a menu item's caption names after its three spaces ("Find Place...   Ctrl+F").
#pragma once

#include <QKeySequence>
#include <QString>

namespace rubicel {

// What follows the last three spaces of caption; no key when there are none.
inline QKeySequence keyOfCaption(const QString& caption) {
    const qsizetype at = caption.lastIndexOf("   ");
    return at < 0 ? QKeySequence() : QKeySequence(caption.mid(at + 3).trimmed());
}

}  // namespace rubicel
