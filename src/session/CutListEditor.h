#pragma once

#include "cutlist/Sorting.h"

#include <QString>

namespace kivo {

class CutListDocument;
class CutListModel;
class PlaybackSequencer;

// The changes the user makes to the cut list by hand or in bulk: deleting,
// renaming, moving, sorting and shuffling objects. Each marks the document
// modified where that matters for the save question; renaming a single
// object does not. Positions that no longer exist (a list that changed under
// an open menu) change nothing.
class CutListEditor {
public:
    enum class Naming { FullPath, FileName, Empty };

    CutListEditor(CutListModel& list, CutListDocument& document, PlaybackSequencer& playback);

    bool HasItems() const;
    bool HasInvalidItems() const;

    void DeleteAll();
    // Deletes every object whose state is "無効", keeping the others' order.
    void DeleteInvalid();
    // Deletes one object; deleting the current one stops playback and leaves
    // no current object.
    void DeleteObject(int position);
    // Moves an object; counted after taking it out, so an object dragged down
    // lands below its target and one dragged up above it. The summary is
    // refreshed, as after a delete.
    void MoveObject(int from, int to);

    void RenameAll(Naming naming);
    void RenameObject(int position, Naming naming);

    // Sorts by `key`, ascending first and then alternating; a sort by
    // another key starts ascending again. The directions last for the run.
    void Sort(SortKey key);
    // The name sort of the media search: always ascending.
    void SortByNameAscending();
    // The random order of the shuffle table for `seed` (0 ... 255).
    void Shuffle(int seed);

private:
    QString NameFor(int position, Naming naming) const;

    CutListModel& m_list;
    CutListDocument& m_document;
    PlaybackSequencer& m_playback;
    SortDirections m_directions;
};

}  // namespace kivo
