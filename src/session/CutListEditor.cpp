#include "session/CutListEditor.h"

#include "session/CutListDocument.h"
#include "cutlist/CutListModel.h"
#include "cutlist/RandomOrder.h"
#include "session/PlaybackSequencer.h"

#include <QFileInfo>

namespace kivo {

CutListEditor::CutListEditor(CutListModel& list, CutListDocument& document, PlaybackSequencer& playback)
    : m_list(list), m_document(document), m_playback(playback)
{
}

bool CutListEditor::HasItems() const
{
    return m_list.GetItemCount() > 0;
}

bool CutListEditor::HasInvalidItems() const
{
    return m_list.HasInvalidItems();
}

void CutListEditor::DeleteAll()
{
    m_document.SetModified(true);
    m_document.ClearCutList();
}

void CutListEditor::DeleteInvalid()
{
    m_document.SetModified(true);
    m_list.DeleteInvalidItems();
}

void CutListEditor::DeleteObject(int position)
{
    if (position < 0 || position >= m_list.GetItemCount())
        return;
    m_document.SetModified(true);
    if (m_list.FindCurrentItem() == position)
        m_playback.ResetPlayback();
    m_list.DeleteItem(position);
    m_document.UpdateSummary();
}

void CutListEditor::MoveObject(int from, int to)
{
    const int count = m_list.GetItemCount();
    if (from == to || from < 0 || from >= count || to < 0 || to >= count)
        return;
    m_document.SetModified(true);
    m_list.MoveItem(from, to);
    // What was played before the current object may have changed.
    m_document.UpdateSummary();
}

QString CutListEditor::NameFor(int position, Naming naming) const
{
    switch (naming) {
    case Naming::FullPath:
        return m_list.GetItemPath(position);
    case Naming::FileName:
        return QFileInfo(m_list.GetItemPath(position)).fileName();
    case Naming::Empty:
        break;
    }
    return {};
}

void CutListEditor::RenameAll(Naming naming)
{
    m_document.SetModified(true);
    QStringList names;
    names.reserve(m_list.GetItemCount());
    for (int position = 0; position < m_list.GetItemCount(); ++position)
        names.append(NameFor(position, naming));
    m_list.SetItemNames(names);
}

void CutListEditor::RenameObject(int position, Naming naming)
{
    if (position >= 0 && position < m_list.GetItemCount())
        m_list.SetItemText(position, CutListModel::kColumnName, NameFor(position, naming));
}

void CutListEditor::Sort(SortKey key)
{
    m_document.SetModified(true);
    SortCutList(m_list, key, m_directions.IsDescending(key));
    m_directions.Toggle(key);
}

void CutListEditor::SortByNameAscending()
{
    // A sort toggles its own direction and resets the others anyway.
    m_directions = {};
    Sort(SortKey::Name);
}

void CutListEditor::Shuffle(int seed)
{
    if (m_list.GetItemCount() == 0)
        return;
    m_document.SetModified(true);
    m_list.ApplyOrder(RandomOrder(seed, m_list.GetItemCount()), CutListModel::Order::Random);
}

}  // namespace kivo
