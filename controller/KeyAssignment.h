#pragma once
// Button assignment: stores the mouse key matrix (sixteen four-byte function
// entries under "keydefine_Q3/<n>") and the keyboard key matrix (126 entries
// under "keydefine/<n>") in the current profile and sends them to the device;
// reads them back from the device. GUI thread only.

#include <QObject>
#include <QVariant>
#include <QVariantList>
#include <array>

class DevicePort;
class ProfileStore;

class KeyAssignment : public QObject {
    Q_OBJECT
public:
    static constexpr int kMouseEntries = 16;
    static constexpr int kKeyboardStoredEntries = 126;
    static constexpr int kEntrySize = 4;
    static constexpr int kMouseMatrixBytes = 64;
    static constexpr int kKeyboardMatrixBytes = 512;
    // Named keys exist only in the profile and the pages; the device gets a plain key.
    static constexpr uchar kTypeNamedKey = 0x0F;
    static constexpr uchar kTypeKeyboard = 0x00;

    KeyAssignment(ProfileStore& profiles, DevicePort& device, QObject* parent = nullptr);

    QVariantList getKeydefine(QVariant matrixId);
    void ui_12H_SetKeyMatrix(QVariantList src64);
    void ui_0DH_SetKeyMatrix(QVariantList src512);
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_8DH_GetKeyMatrix();

    // The 64 wire bytes of a mouse key matrix list (type 0FH sent as 00H).
    static std::array<uchar, kMouseMatrixBytes> mouseMatrixBytes(const QVariantList& src64);

private:
    ProfileStore& m_profiles;
    DevicePort& m_device;
};
