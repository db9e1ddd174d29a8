// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renaming a macro: its entry file and the references to it in the "macro"
// groups of the profiles the profile page lists. The steps run in an order
// that leaves every reference naming an existing entry file wherever the
// process stops: the entry is copied to its new name, the profiles are pointed
// at the copy one by one (each written at once), and only then is the old entry
// removed. A step that fails undoes the steps before it. GUI thread only.

#include <QString>
#include <vector>

class ProfileStore;

class MacroRename {
public:
    enum class Step { CopyEntry, RepointReferences, RemoveOldEntry, Done };

    // Both names are checked before anything is touched: an unsafe name, a
    // missing old entry or a new name that is taken (the old one included) is
    // refused, and the rename then has nothing to run.
    MacroRename(ProfileStore& profiles, const QString& oldName, const QString& newName);

    bool isAccepted() const { return m_accepted; }
    Step nextStep() const { return m_next; }
    // Runs the next step; false when it failed, after undoing the earlier ones.
    bool runNextStep();
    // Runs every step; true when the macro carries its new name everywhere.
    bool run();

private:
    struct Reference {
        int profile;
        QString key;
    };

    bool copyEntry();
    bool repointReferences();
    bool removeOldEntry();
    void pointReferencesBack();
    void fail();

    ProfileStore& m_profiles;
    QString m_oldName, m_newName, m_oldPath, m_newPath;
    bool m_accepted = false;
    Step m_next = Step::Done;
    std::vector<Reference> m_repointed;
};
