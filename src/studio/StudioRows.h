// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Studio window's table: one row per data file, with what the plan found in it and, once
// the run has settled it, what became of it. A model, so tens of thousands of rows cost one
// vector, not a widget per cell.
#include <QAbstractTableModel>
#include <QString>

#include <vector>

struct StudioRow {
    enum class State { Reading, Ready, Refused, Repeated, Written, Failed, NotReached };
    QString file; // the path as given to the run
    QString surname;
    QString name;
    QString folder;
    State state = State::Reading;
    QString detail; // the reason, the note, the file it repeats
};

// The text the "Stato" column shows for a row, as saved by "Salva elenco...".
QString stateText(const StudioRow& row);

class StudioRows : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Surname, Name, FileName, Folder, State, ColumnCount };

    explicit StudioRows(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<StudioRow>& rows() const { return m_rows; }
    QStringList files() const;

    void append(const QStringList& files);
    // Removes the rows, given in any order.
    void remove(std::vector<int> rows);
    // Every row afresh, from a plan of the same files in the same order.
    void replaceAll(std::vector<StudioRow> rows);
    // Changes rows in place; `changed` holds their numbers, lowest first.
    void update(const std::vector<std::pair<int, StudioRow>>& changed);

private:
    std::vector<StudioRow> m_rows;
};
