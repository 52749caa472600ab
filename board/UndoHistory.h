// A board document's history: each edit as one step of changes to its lines and its board,
// undone by applying the changes backwards and done again by applying them forwards.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "board/BoardIndex.h"
#include "board/LineStore.h"
#include "board/StepMeaning.h"

namespace board {

// What a document holds at one time: its lines and the board they give. Converting the file
// replaces it whole.
struct TDocumentContent {
    TLineStore lines;
    TBoardIndex board;

    // The PC identities this content's sections carry from before a conversion, by header.
    std::unordered_map<std::uint32_t, TPcId> pcIds;
    std::uint32_t conversions = 0;

    TDocumentContent(TLineStore store, std::string text) : lines(std::move(store)), board(lines, std::move(text)) {}

    TPcId PcId(std::uint32_t header) const
    {
        const auto it = pcIds.find(header);
        return it != pcIds.end() ? it->second : (TPcId{conversions} << 32 | header);
    }
    // Gives the sections of converted, the same file in another encoding, the identities they
    // have here.
    void CarryPcIds(TDocumentContent& converted) const;
};

// One slice of a vector, before and after a step.
template <class T>
struct TSlice {
    std::size_t at = 0;
    std::vector<T> before, after;

    void Take(const std::vector<T>& v, std::size_t from, std::size_t to)
    {
        at = from;
        before.assign(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to));
    }
    void Put(std::vector<T>& v, bool forward) const
    {
        const std::vector<T>& out = forward ? before : after;
        const std::vector<T>& in = forward ? after : before;
        const auto first = v.begin() + static_cast<std::ptrdiff_t>(at);
        // Most steps keep the count: then nothing after the slice moves.
        if (out.size() == in.size())
            std::copy(in.begin(), in.end(), first);
        else
            v.insert(v.erase(first, first + static_cast<std::ptrdiff_t>(out.size())), in.begin(), in.end());
    }
};

// What a step changed of one line.
struct TLineChange {
    std::uint32_t id;
    bool goneBefore, goneAfter;
    std::string before, after;
};

struct TStep {
    std::vector<TLineChange> lines;
    // The board's changes, in the order made.
    std::vector<TSlice<TPc>> pcs;
    std::vector<TSlice<TPcLines>> pcLines;
    std::vector<TSlice<TBoardIndex::TSectionRef>> sections;
    TSys sysBefore, sysAfter;
    TPlanLines planBefore, planAfter;
    // A conversion swaps the whole content.
    std::unique_ptr<TDocumentContent> other;
    // What the step means, edit by edit.
    std::vector<TMeaning> meaning;
    std::uint64_t version = 0;  // of the state it leads to

    // Each part is applied in order, forwards and backwards.
    void Apply(std::unique_ptr<TDocumentContent>& content, bool forward);
};

class TUndoHistory {
public:
    // A step made: what could be done again is dropped.
    void Push(TStep made);
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    void Undo(std::unique_ptr<TDocumentContent>& content);
    void Redo(std::unique_ptr<TDocumentContent>& content);

    std::size_t Mark() const { return done_.size(); }
    // The steps since the mark made one; false, joining nothing, when one is a conversion.
    bool JoinSince(std::size_t mark);
    // The steps since the mark undone and forgotten, and what could be done again before them
    // back.
    void RevertSince(std::size_t mark, std::unique_ptr<TDocumentContent>& content);
    // 0 for the state opened, else the version of the last step done.
    std::uint64_t Version() const { return done_.empty() ? 0 : done_.back().version; }
    // The steps done, oldest first.
    const std::vector<TStep>& Done() const { return done_; }

private:
    std::vector<TStep> done_, undone_;
    std::uint64_t versions_ = 0;
    // What could be done again when the step at dropped_ was made, for RevertSince.
    std::vector<TStep> redoDropped_;
    std::size_t dropped_ = SIZE_MAX;
};

}  // namespace board
