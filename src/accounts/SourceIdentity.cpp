#include "accounts/SourceIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>

namespace {

// The larger of the two page sizes of the format.
constexpr int kHeaderPage = 4096;

}  // namespace

std::optional<SourceIdentity> SourceIdentity::Of(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    // Without blocking: a FIFO must not wait for a writer here either.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<SourceIdentity> out;
    if (fstat(fd, &st) == 0) {
        SourceIdentity id;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        id.size = st.st_size;
        id.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        id.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        if (S_ISREG(st.st_mode)) {
            QByteArray header(kHeaderPage, '\0');
            const ssize_t got = ::pread(fd, header.data(), header.size(), 0);
            header.resize(got > 0 ? int(got) : 0);
            id.headerDigest = QCryptographicHash::hash(header, QCryptographicHash::Sha1);
        }
        out = id;
    }
    ::close(fd);
    return out;
}
