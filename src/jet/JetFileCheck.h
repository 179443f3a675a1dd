// Structural checks of an untrusted Jet file, made with our own bounded
// reads before libmdb is handed any structure: the header, a table
// definition chain, its usage maps and every row of its data pages. Also
// where a table's live rows lie: deleted rows are passed over and a row
// moved to another page is found through its pointer.
// Each failed check throws JetError(kErrFormat) saying what is wrong.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace jet {

class JetFileCheck {
public:
    // Opens nothing: reads through fd, which stays owned by the caller.
    // Checks the header; throws JetError(kErrFormat) for a truncated file,
    // one that is not a Jet file, or a version that is not Jet 3 or Jet 4.
    JetFileCheck(int fd, const std::string &path);

    int version() const { return version_; }  // 3 or 4
    size_t pageSize() const { return pageSize_; }
    uint64_t pageCount() const { return pageCount_; }

    // Reads one page; throws JetError(kErrFormat) beyond the file.
    void readPage(uint64_t page, unsigned char *buffer) const;
    // The bytes of row `row` of a page already read; throws when the row
    // offsets are damaged.
    std::pair<size_t, size_t> rowBounds(const unsigned char *page, unsigned row) const;

    // Checks a table definition, its usage maps and (Jet 4) every row of
    // every data page it owns.
    void checkTable(uint32_t tdefPage, const std::string &name, bool rows) const;

    // Where one live row lies: its page and its bytes there.
    struct RowLocation {
        uint32_t page;
        size_t start;
        size_t size;
    };
    // The pages the usage map of a checked table names, in file order.
    std::vector<uint32_t> dataPages(uint32_t tdefPage) const;
    // The live rows stored from one page of a table, in slot order; a moved
    // row is where its pointer leads. Nothing when the page is not a data
    // page of that table.
    std::vector<RowLocation> liveRows(uint32_t tdefPage, uint32_t page, const std::string &name) const;

    // What a table definition says of itself: its kind ('N' a user table,
    // 'S' a system table) and the row pointers of its two usage maps.
    struct DefinitionHead {
        unsigned char kind;
        uint32_t usedMap;
        uint32_t freeMap;
    };
    DefinitionHead definitionHead(uint32_t tdefPage) const;
    // The definition page a data page names as its table's; 0 for a page of
    // another kind. Reads the page header alone.
    uint32_t dataPageOwner(uint32_t page) const;

    // Checks the catalogue, and (Jet 4) the property blobs of its rows,
    // which libmdb parses while opening the file.
    void checkCatalog() const;

    // The bytes of a Memo or OLE value from its 12-byte header (and the
    // long-value pages it names); bounded by the file.
    std::string readLongValue(const unsigned char *header, size_t size) const;

private:
    struct Column {
        int code;
        bool fixed;
        unsigned fixedOffset;
        unsigned size;
        unsigned varIndex;
        std::string name = {};  // non-ASCII characters as "?"
        bool bound = false;     // copied by libmdb into a fixed buffer
    };
    using BlobCheck = std::function<void(const std::string &)>;
    void checkTable(uint32_t tdefPage, const std::string &name, bool rows, const std::string &blobColumn,
                    const BlobCheck &blobCheck, const std::vector<std::string> &boundColumns,
                    bool deletedToo = false) const;
    std::vector<RowLocation> liveRows(const unsigned char *page, uint32_t pageNo, uint32_t tdefPage,
                                      const std::string &what, bool deletedToo) const;
    RowLocation follow(const unsigned char *pointer, size_t size, uint32_t tdefPage, const std::string &where) const;
    void checkProperties(const std::string &blob) const;
    std::vector<unsigned char> definitionBytes(uint32_t tdefPage) const;
    std::vector<uint32_t> mapPages(uint32_t rowPointer, const std::string &what) const;
    void checkRow(const unsigned char *row, size_t len, const std::vector<Column> &columns, unsigned varCount,
                  const std::string &where, int blobColumn, const BlobCheck &blobCheck) const;
    [[noreturn]] void fail(const std::string &what) const;

    int fd_;
    std::string path_;
    int version_ = 4;
    size_t pageSize_ = 4096;
    size_t rowCountOffset_ = 12;
    uint64_t pageCount_ = 0;
};

}  // namespace jet
