#include "profile/profile_list_commands.h"

#include <gtest/gtest.h>

// The entry commands with a scripted editor standing in for the dialog. The editor records
// what it was shown and answers by changing the buffer (OK) or leaving it (Cancel).

namespace {

struct ScriptedEditor
{
    std::optional<EntryBuffer> answer; // empty: the user cancels
    std::vector<EntryBuffer> shown;

    EntryEditor editor()
    {
        return [this](AppState& state) {
            shown.push_back(state.entryBuffer);
            if (answer) {
                state.entryBuffer = *answer;
                state.ProfileChanged = true;
            }
        };
    }
};

EntryBuffer entry(const char* source, const char* target, const char* include = "*",
                  const char* exclude = "")
{
    return {QString::fromUtf8(source), QString::fromUtf8(target), QString::fromUtf8(include),
            QString::fromUtf8(exclude)};
}

void fill(AppState& state, std::initializer_list<EntryBuffer> rows)
{
    for (const EntryBuffer& row : rows)
        state.ProfileList.append(row);
}

} // namespace

TEST(NewProfileEntry, EditorStartsFromTheDefaults)
{
    AppState state;
    state.entryBuffer = entry("/old", "/old", "doc", "tmp");
    ScriptedEditor script;
    newProfileEntry(state, script.editor());
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0], entry("", "", "*", ""));
}

TEST(NewProfileEntry, AppendsOnlyWithBothFoldersNonBlank)
{
    const struct
    {
        std::optional<EntryBuffer> answer;
        bool appended;
    } cases[] = {
        {std::nullopt, false},                       // cancelled
        {entry("", "/t"), false},                    // OK with an empty Source
        {entry("/s", ""), false},                    // and an empty Target
        {entry("   ", "/t"), false},                 // blanks only count as empty
        {entry("/s", " \t "), false},                // so do tabs
        {entry(" /s ", "/t  ", " doc", "x "), true}, // stored untrimmed
        {entry("/s", "/t", "", "*,bak"), true},
    };
    for (const auto& c : cases) {
        AppState state;
        fill(state, {entry("/first", "/one")});
        ScriptedEditor script;
        script.answer = c.answer;
        EXPECT_EQ(newProfileEntry(state, script.editor()), c.appended);
        ASSERT_EQ(state.ProfileList.size(), c.appended ? 2 : 1);
        EXPECT_EQ(state.ProfileList.at(0), entry("/first", "/one"));
        if (c.appended)
            EXPECT_EQ(state.ProfileList.at(1), *c.answer); // at the end, as typed
        // Only the editor's OK marks the profile as changed, added row or not.
        EXPECT_EQ(state.ProfileChanged, c.answer.has_value());
    }
}

TEST(EditProfileEntry, WritesTheBufferBackIntoTheSameRow)
{
    AppState state;
    fill(state, {entry("/a", "/A"), entry("/b", "/B", "doc", "tmp"), entry("/c", "/C")});
    ScriptedEditor script;
    script.answer = entry("", "/B2 ", "*", "");
    EXPECT_TRUE(editProfileEntry(state, 1, script.editor()));
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0], entry("/b", "/B", "doc", "tmp"));
    ASSERT_EQ(state.ProfileList.size(), 3);
    EXPECT_EQ(state.ProfileList.at(0), entry("/a", "/A"));
    EXPECT_EQ(state.ProfileList.at(1), entry("", "/B2 ", "*", "")); // empty Source kept
    EXPECT_EQ(state.ProfileList.at(2), entry("/c", "/C"));
    EXPECT_TRUE(state.ProfileChanged);
}

TEST(EditProfileEntry, CancelLeavesTheRow)
{
    AppState state;
    fill(state, {entry("/a", "/A", "doc", "bak")});
    ScriptedEditor script;
    EXPECT_TRUE(editProfileEntry(state, 0, script.editor()));
    EXPECT_EQ(state.ProfileList.at(0), entry("/a", "/A", "doc", "bak"));
    EXPECT_FALSE(state.ProfileChanged);
}

TEST(EditProfileEntry, WithoutARowTheEditorDoesNotOpen)
{
    const struct
    {
        int rows;
        int selected;
    } cases[] = {{0, -1}, {0, 0}, {2, -1}, {2, 2}};
    for (const auto& c : cases) {
        AppState state;
        for (int i = 0; i < c.rows; ++i)
            state.ProfileList.append(entry("/s", "/t"));
        state.entryBuffer = entry("/left", "/over");
        ScriptedEditor script;
        script.answer = entry("/x", "/y");
        EXPECT_FALSE(editProfileEntry(state, c.selected, script.editor()));
        EXPECT_TRUE(script.shown.empty());
        EXPECT_EQ(state.ProfileList.size(), c.rows);
        for (int i = 0; i < c.rows; ++i)
            EXPECT_EQ(state.ProfileList.at(i), entry("/s", "/t"));
        EXPECT_FALSE(state.ProfileChanged);
    }
}

TEST(DeleteProfileEntry, RemovesTheRowAndLeavesProfileChanged)
{
    for (const bool changed : {false, true}) {
        AppState state;
        fill(state, {entry("/a", "/A"), entry("/b", "/B")});
        state.ProfileChanged = changed;
        EXPECT_TRUE(deleteProfileEntry(state, 0));
        ASSERT_EQ(state.ProfileList.size(), 1);
        EXPECT_EQ(state.ProfileList.at(0), entry("/b", "/B"));
        EXPECT_TRUE(deleteProfileEntry(state, 0)); // the last one
        EXPECT_EQ(state.ProfileList.size(), 0);
        EXPECT_FALSE(deleteProfileEntry(state, 0));
        EXPECT_FALSE(deleteProfileEntry(state, -1));
        EXPECT_EQ(state.ProfileChanged, changed);
    }
}

TEST(ProfileEntryCommands, RefusedWhileScanOrSynchronizeRuns)
{
    for (const Running running : {Running::Scan, Running::Sync}) {
        AppState state;
        fill(state, {entry("/a", "/A")});
        state.running = running;
        ScriptedEditor script;
        script.answer = entry("/x", "/y");
        EXPECT_FALSE(canChangeEntries(state));
        EXPECT_FALSE(newProfileEntry(state, script.editor()));
        EXPECT_FALSE(editProfileEntry(state, 0, script.editor()));
        EXPECT_FALSE(deleteProfileEntry(state, 0));
        EXPECT_TRUE(script.shown.empty());
        ASSERT_EQ(state.ProfileList.size(), 1);
        EXPECT_EQ(state.ProfileList.at(0), entry("/a", "/A"));
        EXPECT_FALSE(state.ProfileChanged);
    }
}
