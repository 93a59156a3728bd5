// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioRows.h"

#include <QFileInfo>

#include <algorithm>

QString stateText(const StudioRow& row) {
    const QString detail = row.detail.isEmpty() ? QString() : QStringLiteral(": ") + row.detail;
    switch (row.state) {
    case StudioRow::State::Reading:
        return QStringLiteral("In lettura...");
    case StudioRow::State::Ready:
        return row.detail.isEmpty() ? QStringLiteral("Da elaborare")
                                    : QStringLiteral("Da elaborare; nota") + detail;
    case StudioRow::State::Refused:
        return QStringLiteral("Non sarà elaborato") + detail;
    case StudioRow::State::Repeated:
        return QStringLiteral("Indicato più volte: è lo stesso file di ") + row.detail;
    case StudioRow::State::Written:
        return row.detail.isEmpty() ? QStringLiteral("Scritto")
                                    : QStringLiteral("Scritto; nota") + detail;
    case StudioRow::State::Failed:
        return QStringLiteral("Non riuscito") + detail;
    case StudioRow::State::NotReached:
        return QStringLiteral("Non elaborato: elaborazione annullata");
    }
    return {};
}

StudioRows::StudioRows(QObject* parent) : QAbstractTableModel(parent) {}

int StudioRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StudioRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StudioRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const StudioRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case Surname:
        return row.surname;
    case Name:
        return row.name;
    case FileName:
        return role == Qt::ToolTipRole ? row.file : QFileInfo(row.file).fileName();
    case Folder:
        return row.folder;
    case State:
        return stateText(row);
    default:
        return {};
    }
}

QVariant StudioRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kTitles[ColumnCount] = {"Cognome", "Nome", "File", "Cartella",
                                                     "Stato"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kTitles[section]) : QString();
}

QStringList StudioRows::files() const {
    QStringList files;
    files.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const StudioRow& row : m_rows) {
        files << row.file;
    }
    return files;
}

void StudioRows::append(const QStringList& files) {
    if (files.isEmpty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(files.size()) - 1);
    for (const QString& file : files) {
        m_rows.push_back({file, {}, {}, QFileInfo(file).path(), StudioRow::State::Reading, {}});
    }
    endInsertRows();
}

void StudioRows::remove(std::vector<int> rows) {
    // From the last, a run of neighbours at a time, so the numbers of those still to go stay
    // right and thousands of rows go in a few steps.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t last = i;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] - 1) {
            ++last;
        }
        const int first = rows[last];
        beginRemoveRows({}, first, rows[i]);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + rows[i] + 1);
        endRemoveRows();
        i = last + 1;
    }
}

void StudioRows::replaceAll(std::vector<StudioRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void StudioRows::update(const std::vector<std::pair<int, StudioRow>>& changed) {
    if (changed.empty()) {
        return;
    }
    for (const auto& [row, value] : changed) {
        m_rows[static_cast<std::size_t>(row)] = value;
    }
    emit dataChanged(index(changed.front().first, 0), index(changed.back().first, ColumnCount - 1));
}
