#pragma once

#include <QString>
#include <memory>

class QProcess;

// A file system mounted over a folder for one test, unmounted when the object goes. Mounting
// needs root, and FAT through FUSE needs /dev/fuse, fusefat and mkfs.vfat besides: where the
// machine does not allow it, mounted() is false and why() says what was missing, for the
// test's skip message.
class TestMount
{
public:
    // A RAM file system: options as for mount -o ("size=64k").
    static TestMount tmpfs(const QString& folder, const QString& options = {});
    // A fresh FAT image of 'megabytes' (kept beside the folder) mounted through fusefat.
    static TestMount fat(const QString& folder, int megabytes = 16);

    TestMount(TestMount&& other) noexcept;
    TestMount& operator=(TestMount&&) = delete;
    ~TestMount();

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    // Makes the mounted file system read-only (a tmpfs).
    bool remountReadOnly();

private:
    TestMount() = default;
    bool waitForMount();

    QString m_folder;
    bool m_mounted = false;
    QString m_why;
    std::unique_ptr<QProcess> m_fuse; // the FUSE driver, in the foreground
};
