#include "textsearch.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace doorsel {
namespace {

bool canOccur(std::string_view st)
{
    return !st.empty() && st.find('\n') == std::string_view::npos && st.find('\r') == std::string_view::npos;
}

// Aho-Corasick: a trie of the searched strings whose nodes also know the longest proper suffix of
// their own text that is a node too, so one pass over the text finds every occurrence of every
// string, overlapping and nested ones included.
class Automaton {
public:
    static constexpr std::uint32_t None = std::numeric_limits<std::uint32_t>::max();

    // Returns the number of the string, the same for equal strings. The rows come in walk order, so
    // each shares a long beginning with the one before: that part of the trie is not walked again.
    std::uint32_t add(std::string_view st)
    {
        const size_t shared = static_cast<size_t>(
            std::mismatch(st.begin(), st.end(), previous.begin(), previous.end()).first - st.begin());
        previousPath.resize(shared + 1);
        std::uint32_t node = previousPath.back();
        for (size_t i = shared; i < st.size(); ++i) {
            const auto byte = static_cast<unsigned char>(st[i]);
            std::uint32_t next = child(node, byte);
            if (next == None) {
                next = static_cast<std::uint32_t>(nodes.size());
                nodes.push_back({.nextSibling = nodes[node].firstChild, .byte = byte});
                nodes[node].firstChild = next;
            }
            node = next;
            previousPath.push_back(node);
        }
        previous = st;
        if (nodes[node].string == None)
            nodes[node].string = strings++;
        return nodes[node].string;
    }

    // Links every node to its longest proper suffix in the trie, shallow nodes first.
    void link()
    {
        rootNext.fill(Root);
        std::deque<std::uint32_t> queue;
        for (std::uint32_t c = nodes[Root].firstChild; c != None; c = nodes[c].nextSibling) {
            rootNext[nodes[c].byte] = c;
            nodes[c].output = nodes[c].string != None ? c : None;
            queue.push_back(c);
        }
        while (!queue.empty()) {
            const std::uint32_t node = queue.front();
            queue.pop_front();
            for (std::uint32_t c = nodes[node].firstChild; c != None; c = nodes[c].nextSibling) {
                const std::uint32_t suffix = step(nodes[node].suffix, nodes[c].byte);
                nodes[c].suffix = suffix;
                nodes[c].output = nodes[c].string != None ? c : nodes[suffix].output;
                queue.push_back(c);
            }
        }
    }

    // Adds the occurrences in text to counts, indexed by string number.
    void count(std::string_view text, std::vector<std::int64_t>& counts) const
    {
        std::uint32_t node = Root;
        for (const char c : text) {
            node = step(node, static_cast<unsigned char>(c));
            for (std::uint32_t found = nodes[node].output; found != None; found = nodes[nodes[found].suffix].output)
                ++counts[nodes[found].string];
        }
    }

    std::uint32_t size() const { return strings; }

private:
    static constexpr std::uint32_t Root = 0;

    struct Node {
        std::uint32_t firstChild = None;
        std::uint32_t nextSibling = None;
        std::uint32_t suffix = Root;
        std::uint32_t output = None; // this node or the nearest on its suffix chain that ends a string
        std::uint32_t string = None; // the string that ends here
        unsigned char byte = 0;
    };

    // Paths branch little below the root, so a short list of siblings beats a table per node.
    std::uint32_t child(std::uint32_t node, unsigned char byte) const
    {
        std::uint32_t c = nodes[node].firstChild;
        while (c != None && nodes[c].byte != byte)
            c = nodes[c].nextSibling;
        return c;
    }

    // The node for the text of `node` followed by byte, or its longest suffix that is a node.
    std::uint32_t step(std::uint32_t node, unsigned char byte) const
    {
        while (node != Root) {
            const std::uint32_t next = child(node, byte);
            if (next != None)
                return next;
            node = nodes[node].suffix;
        }
        return rootNext[byte];
    }

    std::vector<Node> nodes {Node {}};
    std::string_view previous; // the string added last, and its nodes from the root on
    std::vector<std::uint32_t> previousPath {Root};
    std::array<std::uint32_t, 256> rootNext {};
    std::uint32_t strings = 0;
};

// What every path that can occur starts with and ends with (for a browse list's rows, the folder
// walked and ".exe"), and what looking between the two may cost: about as much as reading the
// entries and the paths once. Kept as copies: the paths may be made one at a time in one buffer.
class SharedEnds {
public:
    explicit SharedEnds(size_t textSize)
        : budget(textSize)
    {
    }

    void add(std::string_view path)
    {
        if (!canOccur(path))
            return;
        // Almost every path shares the whole of both: compared at once, not byte by byte.
        if (!any) {
            head.assign(path);
            tail.assign(path);
            any = true;
        } else if (!path.starts_with(head) || !path.ends_with(tail)) {
            head.resize(static_cast<size_t>(
                std::mismatch(head.begin(), head.end(), path.begin(), path.end()).first - head.begin()));
            const size_t shared = static_cast<size_t>(
                std::mismatch(tail.rbegin(), tail.rend(), path.rbegin(), path.rend()).first - tail.rbegin());
            tail.erase(0, tail.size() - shared);
        }
        budget += path.size();
    }

    bool any = false;
    std::string head;
    std::string tail;
    size_t budget;
};

// The stretches of the entries from an occurrence of the shared beginning to one of the shared end,
// counted and without the beginning (which every key would share): where those two occur seldom,
// every text a path can match. Nothing once the stretches would cost more than the automaton
// does (two ends that occur everywhere).
using Stretches = std::unordered_map<std::string_view, std::int64_t>;

std::optional<Stretches> stretchesBetween(std::string_view text, const SharedEnds& shared)
{
    const std::string_view head = shared.head;
    const std::string_view tail = shared.tail;
    size_t budget = shared.budget;
    const size_t shortest = std::max(head.size(), tail.size());
    Stretches stretches;
    std::vector<size_t> ends;
    for (size_t line = 0; line < text.size();) {
        const size_t lineEnd = text.find('\n', line);
        const std::string_view entry = text.substr(line, lineEnd - line);
        line = lineEnd + 1;
        ends.clear();
        for (size_t at = entry.find(tail); at != std::string_view::npos; at = entry.find(tail, at + 1))
            ends.push_back(at + tail.size());
        for (size_t start = entry.find(head); start != std::string_view::npos && !ends.empty();
             start = entry.find(head, start + 1)) {
            for (auto end = std::lower_bound(ends.begin(), ends.end(), start + shortest); end != ends.end(); ++end) {
                // A table entry costs about as much as reading a few bytes more.
                const size_t cost = *end - start + 16;
                if (cost > budget)
                    return std::nullopt;
                budget -= cost;
                ++stretches[entry.substr(start + head.size(), *end - start - head.size())];
            }
        }
    }
    return stretches;
}

std::int64_t countIn(const Stretches& stretches, const SharedEnds& shared, std::string_view path)
{
    if (!canOccur(path))
        return 0;
    const auto found = stretches.find(path.substr(shared.head.size()));
    return found == stretches.end() ? 0 : found->second;
}

// One pass of the automaton of all the paths over the entries.
void countWithAutomaton(
    std::string_view text, std::span<const std::string_view> paths, std::vector<std::int64_t>& counts)
{
    Automaton automaton;
    std::vector<std::uint32_t> stringOf(paths.size(), Automaton::None);
    for (size_t i = 0; i < paths.size(); ++i) {
        if (canOccur(paths[i]))
            stringOf[i] = automaton.add(paths[i]);
    }
    automaton.link();
    std::vector<std::int64_t> perString(automaton.size(), 0);
    automaton.count(text, perString);
    for (size_t i = 0; i < paths.size(); ++i) {
        if (stringOf[i] != Automaton::None)
            counts[i] = perString[stringOf[i]];
    }
}

} // namespace

TextSearch::TextSearch(const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        text += entry;
        text += '\n';
    }
}

std::vector<std::int64_t> TextSearch::FindAll(const std::vector<std::string>& paths) const
{
    const std::vector<std::string_view> views(paths.begin(), paths.end());
    return FindAll(views);
}

std::vector<std::int64_t> TextSearch::FindAll(std::span<const std::string_view> paths) const
{
    std::vector<std::int64_t> counts(paths.size(), 0);
    SharedEnds shared(text.size());
    for (const std::string_view path : paths)
        shared.add(path);
    if (!shared.any)
        return counts;
    if (const std::optional<Stretches> stretches = stretchesBetween(text, shared)) {
        for (size_t i = 0; i < paths.size(); ++i)
            counts[i] = countIn(*stretches, shared, paths[i]);
    } else {
        countWithAutomaton(text, paths, counts);
    }
    return counts;
}

void TextSearch::FindEach(
    size_t count, const PathAt& pathAt, const std::function<void(size_t)>& occurs, const std::atomic<bool>* stop) const
{
    const auto stopped = [stop] { return stop != nullptr && stop->load(std::memory_order_relaxed); };
    std::string scratch;
    SharedEnds shared(text.size());
    for (size_t i = 0; i < count && !stopped(); ++i)
        shared.add(pathAt(i, scratch));
    if (!shared.any || stopped())
        return;
    if (const std::optional<Stretches> stretches = stretchesBetween(text, shared)) {
        for (size_t i = 0; i < count && !stopped(); ++i) {
            if (countIn(*stretches, shared, pathAt(i, scratch)) != 0)
                occurs(i);
        }
        return;
    }
    // The automaton holds every path it looks for: so many at a time keep it small however many
    // paths there are, and need few passes over the entries.
    constexpr size_t batchSize = 16384;
    std::string batch;
    std::vector<size_t> ends;
    std::vector<std::string_view> paths;
    for (size_t first = 0; first < count && !stopped(); first += batchSize) {
        const size_t end = std::min(count, first + batchSize);
        batch.clear();
        ends.clear();
        for (size_t i = first; i < end; ++i) {
            batch += pathAt(i, scratch);
            ends.push_back(batch.size());
        }
        // Taken once the batch holds all of them: it may move while it grows.
        paths.clear();
        size_t start = 0;
        for (const size_t pathEnd : ends) {
            paths.emplace_back(batch.data() + start, pathEnd - start);
            start = pathEnd;
        }
        std::vector<std::int64_t> counts(paths.size(), 0);
        countWithAutomaton(text, paths, counts);
        for (size_t i = first; i < end; ++i) {
            if (counts[i - first] != 0)
                occurs(i);
        }
    }
}

} // namespace doorsel
