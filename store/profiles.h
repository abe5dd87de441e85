#pragma once

class FileDialogs;
class SettingsStore;

// Whole-file operations on the profile slots: import, export, reset to factory and copy. None of
// them talks to the mouse or updates the pages; the current profile index never changes. A slot
// outside 0 … 9 is ignored.
class Profiles {
public:
    Profiles(SettingsStore& store, FileDialogs& dialogs) : m_store(store), m_dialogs(dialogs) {}

    // Asks for a "*.pf" file and makes the slot's file a copy of it. True when the user chose a
    // file (even if it could not be copied: the slot then keeps its old file), false on cancel.
    bool loadProfile(int profile);
    // Asks for a target and writes a copy of the slot's file there, edits not yet flushed
    // included. A failed copy leaves an existing target as it was.
    void saveProfile(int profile);
    // Makes the slot's file a copy of the factory profile.
    void resetProfile(int profile);
    // Makes the file of destprofile a copy of the file of srcprofile; equal slots keep their file.
    void copyProfile(int destprofile, int srcprofile);

private:
    SettingsStore& m_store;
    FileDialogs& m_dialogs;
};
