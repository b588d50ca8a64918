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

// Every occurrence of a path starts with what all the paths start with and ends with what they all
// end with: for a browse list's rows, the folder walked and ".exe". Where those two occur seldom in
// the entries, the few stretches from one to the other are every text a path can match there; they
// are counted in a table and each path looked up in it. Gives up, counting nothing, once the
// stretches would cost more than the automaton does (two ends that occur everywhere).
bool countBetweenSharedEnds(
    std::string_view text, std::span<const std::string_view> paths, std::vector<std::int64_t>& counts)
{
    std::optional<std::string_view> head;
    std::string_view tail;
    size_t budget = text.size();
    for (const std::string_view path : paths) {
        if (!canOccur(path))
            continue;
        // Almost every path shares the whole of both: compared at once, not byte by byte.
        if (!head) {
            head = tail = path;
        } else if (!path.starts_with(*head) || !path.ends_with(tail)) {
            head = head->substr(0,
                static_cast<size_t>(
                    std::mismatch(head->begin(), head->end(), path.begin(), path.end()).first - head->begin()));
            const size_t shared = static_cast<size_t>(
                std::mismatch(tail.rbegin(), tail.rend(), path.rbegin(), path.rend()).first - tail.rbegin());
            tail = tail.substr(tail.size() - shared);
        }
        budget += path.size();
    }
    if (!head)
        return true;
    const size_t shortest = std::max(head->size(), tail.size());
    std::unordered_map<std::string_view, std::int64_t> stretches;
    std::vector<size_t> ends;
    for (size_t line = 0; line < text.size();) {
        const size_t lineEnd = text.find('\n', line);
        const std::string_view entry = text.substr(line, lineEnd - line);
        line = lineEnd + 1;
        ends.clear();
        for (size_t at = entry.find(tail); at != std::string_view::npos; at = entry.find(tail, at + 1))
            ends.push_back(at + tail.size());
        for (size_t start = entry.find(*head); start != std::string_view::npos && !ends.empty();
             start = entry.find(*head, start + 1)) {
            for (auto end = std::lower_bound(ends.begin(), ends.end(), start + shortest); end != ends.end(); ++end) {
                // A table entry costs about as much as reading a few bytes more.
                const size_t cost = *end - start + 16;
                if (cost > budget)
                    return false;
                budget -= cost;
                ++stretches[entry.substr(start + head->size(), *end - start - head->size())];
            }
        }
    }
    // What every path and every stretch starts with is left out of the table's keys.
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!canOccur(paths[i]))
            continue;
        if (const auto found = stretches.find(paths[i].substr(head->size())); found != stretches.end())
            counts[i] = found->second;
    }
    return true;
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
    if (!countBetweenSharedEnds(text, paths, counts))
        countWithAutomaton(text, paths, counts);
    return counts;
}

} // namespace doorsel
