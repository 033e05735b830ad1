// Append, Insert, Delete, Detach, Reorder and Clear: what they do to the entries, the selection,
// the index members and the edit counter.
#include "gui/strip_fixture.h"

TEST_F(StripTest, EditsKeepSelectionIndexMembersAndEditCountInStep) {
    AppendEntries(8);
    m_strip->Select(4);
    m_strip->Select(7);
    m_strip->SetFocusItem(5);
    const unsigned edits = m_strip->GetEditCount();
    // The count, selection, index members (focus, anchor, last selected) and edits so far.
    const auto expect = [&](const char* what, int count, const std::vector<int>& selection,
                            const std::vector<int>& members, unsigned edited) {
        SCOPED_TRACE(what);
        EXPECT_EQ(m_strip->GetCount(), count);
        EXPECT_EQ(Selection(), selection);
        EXPECT_EQ(IndexMembers(), members);
        EXPECT_EQ(m_strip->GetEditCount(), edits + edited);
    };
    const std::vector<int> none = {-1, -1, -1};

    // A refused entry changes nothing and stays with the caller, picture and all.
    wxImageThumbnailItem* orphan = MakeEntry(m_folder.File(wxS("gone.png")));
    EXPECT_EQ(m_strip->Append(orphan, 10), -1);
    expect("refused", 8, {4, 7}, {5, 7, 7}, 0);
    EXPECT_NE(orphan->GetImage(), nullptr);
    EXPECT_EQ(orphan->GetPixels(), nullptr);
    delete orphan;

    // Append and Insert reset the index members; the selection moves with its entries.
    wxThumbnailItem* first = m_strip->GetItem(0);
    wxThumbnailItem* fourth = m_strip->GetItem(3);
    wxImageThumbnailItem* added = MakeEntry(SourceFile());
    EXPECT_EQ(m_strip->Append(added, 25), 8);
    expect("appended", 9, {4, 7}, none, 1);
    EXPECT_EQ(m_strip->GetItem(8), added);
    EXPECT_EQ(m_strip->Insert(MakeEntry(SourceFile()), 0), 0);
    expect("inserted", 10, {5, 8}, none, 2);
    EXPECT_EQ(m_strip->GetItem(1), first);
    // An entry whose source is gone is kept, without bitmaps, and the delay is not touched.
    wxImageThumbnailItem* gone = MakeEntry(m_folder.File(wxS("gone.png")));
    EXPECT_EQ(m_strip->Insert(gone, 10), 10);
    expect("inserted without source", 11, {5, 8}, none, 3);
    EXPECT_EQ(m_strip->GetItem(10), gone);
    EXPECT_FALSE(gone->GetThumbnail().IsOk());
    EXPECT_EQ(m_strip->GetDelay(), 25);

    // Delete clears the index members naming the entry and leaves higher ones as they are.
    m_strip->Select(7);
    m_strip->SetFocusItem(9);
    m_strip->Delete(3);
    expect("deleted", 10, {4, 7, 6}, {9, 7, 7}, 4);
    EXPECT_EQ(m_strip->GetItem(3), fourth);
    m_strip->Delete(7);
    expect("deleted a selected one", 9, {4, 6}, {9, -1, -1}, 5);
    // A bad index removes nothing and is no edit.
    m_strip->Delete(9);
    m_strip->Delete(-1);
    expect("bad index", 9, {4, 6}, {9, -1, -1}, 5);

    // Reorder carries the selection and the focus with their entries; Detach hands the very
    // entry over, and it can go back in.
    m_strip->SetFocusItem(6);
    wxThumbnailItem* last = m_strip->GetItem(8);
    m_strip->Reorder({8, 7, 6, 5, 4, 3, 2, 1, 0});
    expect("reversed", 9, {4, 2}, {2, -1, -1}, 6);
    EXPECT_EQ(m_strip->GetItem(0), last);
    wxThumbnailItem* taken = m_strip->GetItem(2);
    EXPECT_EQ(m_strip->Detach(2), taken);
    expect("detached", 8, {3}, none, 7);
    EXPECT_EQ(m_strip->Detach(8), nullptr);
    m_strip->Insert(taken, 2);
    expect("put back", 9, {4}, none, 8);
    EXPECT_EQ(m_strip->GetItem(2), taken);

    m_strip->Clear();
    expect("cleared", 0, {}, none, 9);
}
