// The parsed batches a session keeps for reuse, by key, least recently used
// first out: at most a number of batches and a total of batch text (what
// their trees grow with). Looks like the map it replaces: find() moves the
// batch it finds to the front; iterators stay valid until their batch is
// let go.
#pragma once

#include <cstddef>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace server {

template <class T>
class BatchCache {
public:
    using Entry = std::pair<const std::string, std::shared_ptr<T>>;
    using iterator = typename std::list<Entry>::iterator;

    static constexpr size_t kMaxBatches = 256;
    static constexpr size_t kMaxText = 512 * 1024;

    iterator end() { return order_.end(); }
    bool empty() const { return order_.empty(); }
    size_t size() const { return order_.size(); }
    size_t textSize() const { return text_; }

    iterator find(const std::string &key) {
        auto at = index_.find(key);
        if (at == index_.end()) return order_.end();
        order_.splice(order_.begin(), order_, at->second.first);
        return order_.begin();
    }

    // Keeps a batch of `textSize` characters under a key, in place of any
    // before it; the least recently used go while over either bound.
    void put(const std::string &key, std::shared_ptr<T> batch, size_t textSize) {
        erase(key);
        order_.emplace_front(key, std::move(batch));
        index_.emplace(key, std::make_pair(order_.begin(), textSize));
        text_ += textSize;
        while (order_.size() > 1 && (order_.size() > kMaxBatches || text_ > kMaxText))
            erase(order_.back().first);
    }

    void erase(const std::string &key) {
        auto at = index_.find(key);
        if (at == index_.end()) return;
        text_ -= at->second.second;
        order_.erase(at->second.first);
        index_.erase(at);
    }

    void clear() {
        index_.clear();
        order_.clear();
        text_ = 0;
    }

private:
    std::list<Entry> order_;  // most recently used first
    std::unordered_map<std::string, std::pair<iterator, size_t>> index_;
    size_t text_ = 0;
};

}  // namespace server
