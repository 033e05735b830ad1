// Append, Insert, Delete and Clear: what they do to the entries, the selection, the index
// members, the edit counter, and how the batch bracket defers the layout work.
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

TEST_F(StripTest, AppendAddsAtTheEndOrLeavesEverythingAsItWas) {
    AppendEntries(3);
    m_strip->Select(1);
    const unsigned edits = m_strip->GetEditCount();

    wxImageThumbnailItem* orphan = MakeEntry(m_folder.File(wxS("gone.png")));
    EXPECT_EQ(m_strip->Append(orphan, 10), -1);
    EXPECT_EQ(m_strip->GetCount(), 3);
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(m_strip->GetEditCount(), edits);
    // The entry stays with the caller, picture and all.
    EXPECT_NE(orphan->GetImage(), nullptr);
    EXPECT_FALSE(orphan->GetBitmap().IsOk());
    delete orphan;

    EXPECT_EQ(m_strip->GetItem(3), nullptr);
    EXPECT_EQ(m_strip->GetItem(-1), nullptr);

    // An accepted entry goes to the end and resets the index members.
    wxImageThumbnailItem* entry = MakeEntry(SourceFile(wxS("frame.png")));
    EXPECT_EQ(m_strip->Append(entry, 25), 3);
    EXPECT_EQ(m_strip->GetItem(3), entry);
    EXPECT_EQ(m_strip->GetDelay(), 25);
    EXPECT_EQ(Selection(), (std::vector<int>{1}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(m_strip->GetEditCount(), edits + 1);
}

TEST_F(StripTest, InsertMovesTheSelectionWithItsEntries) {
    AppendEntries(3);
    wxThumbnailItem* first = m_strip->GetItem(0);
    m_strip->Select(0);
    m_strip->Select(2);
    const unsigned edits = m_strip->GetEditCount();

    EXPECT_EQ(m_strip->Insert(MakeEntry(SourceFile(wxS("frame.png"))), 0), 0);
    EXPECT_EQ(m_strip->GetItem(1), first);
    EXPECT_EQ(Selection(), (std::vector<int>{1, 3}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(m_strip->GetEditCount(), edits + 1);

    // An entry whose source is gone is kept, without bitmaps, and the delay is not touched.
    m_strip->SetDelay(40);
    auto* gone = MakeEntry(m_folder.File(wxS("gone.png")));
    EXPECT_EQ(m_strip->Insert(gone, 4), 4);
    EXPECT_EQ(m_strip->GetItem(4), gone);
    EXPECT_FALSE(gone->GetThumbnail().IsOk());
    EXPECT_EQ(m_strip->GetDelay(), 40);
    EXPECT_EQ(Selection(), (std::vector<int>{1, 3}));
    EXPECT_EQ(m_strip->GetEditCount(), edits + 2);
}

TEST_F(StripTest, DeleteAdjustsSelectionAndIndexMembersAndClearEmpties) {
    AppendEntries(8);
    wxThumbnailItem* fourth = m_strip->GetItem(3);
    m_strip->Select(4);
    m_strip->Select(7);
    m_strip->SetFocusItem(5);
    const unsigned edits = m_strip->GetEditCount();

    m_strip->Delete(2);
    EXPECT_EQ(m_strip->GetCount(), 7);
    EXPECT_EQ(m_strip->GetItem(2), fourth);
    EXPECT_EQ(Selection(), (std::vector<int>{3, 6}));
    EXPECT_EQ(m_strip->GetFocusItem(), 5);
    EXPECT_EQ(m_strip->GetEditCount(), edits + 1);

    // Deleting the entry the index members name clears them; a selected entry leaves the list.
    m_strip->Select(3);
    m_strip->Delete(3);
    EXPECT_EQ(Selection(), (std::vector<int>{5}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{-1, -1, -1}));

    // A bad index removes nothing and does not count as an edit.
    m_strip->Delete(6);
    m_strip->Delete(-1);
    EXPECT_EQ(m_strip->GetCount(), 6);
    EXPECT_EQ(Selection(), (std::vector<int>{5}));
    EXPECT_EQ(m_strip->GetEditCount(), edits + 2);

    // Clear empties the strip, and it takes entries again.
    m_strip->Select(2);
    m_strip->Clear();
    EXPECT_EQ(m_strip->GetCount(), 0);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(IndexMembers(), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(m_strip->GetEditCount(), edits + 3);
    AppendEntries(1);
    EXPECT_EQ(m_strip->GetCount(), 1);
}

TEST_F(StripTest, BatchDefersLayoutAndRepaintToTheLastEndUpdate) {
    SetClientSize(300, 200);
    RunFor(30);
    m_strip->m_cellsPainted = 0;
    const wxSize emptyVirtual = m_strip->GetVirtualSize();

    m_strip->BeginUpdate();
    m_strip->BeginUpdate();
    AppendEntries(30);
    m_strip->Insert(MakeEntry(SourceFile(wxS("frame.png"))), 0);
    m_strip->Refresh();
    RunFor(50);
    EXPECT_EQ(m_strip->GetCount(), 31);
    EXPECT_EQ(m_strip->GetVirtualSize(), emptyVirtual);
    EXPECT_EQ(m_strip->m_cellsPainted, 0);

    m_strip->EndUpdate();
    RunFor(50);
    EXPECT_EQ(m_strip->GetVirtualSize(), emptyVirtual);
    EXPECT_EQ(m_strip->m_cellsPainted, 0);

    m_strip->EndUpdate();
    const int rows = (31 + 2) / 3;
    EXPECT_EQ(m_strip->GetVirtualSize().y, (rows * (m_strip->GetItemHeight() + 3) + 3) / 10 * 10);
    ASSERT_TRUE(RunUntil([this] { return m_strip->m_cellsPainted > 0; }));
    // Only the cells of the two rows in sight are painted, not all 31.
    EXPECT_LE(m_strip->m_cellsPainted, 6);
}
