#pragma once

#include <cstdint>
#include <memory>

// A singly linked list of owned records behind a head node. Records are only
// appended, read by position and counted; the list deletes them (running their
// destructors) when it is destroyed.
template <typename T>
struct RecordNode {
    T* payload = nullptr;
    RecordNode* prev = nullptr;  // set on append, never read by the list
    RecordNode* next = nullptr;
};

// The list is its head node; `payload` and `prev` of the head stay null.
template <typename T>
using RecordList = RecordNode<T>;

template <typename T>
RecordList<T>* createList() {
    return new RecordList<T>{};
}

template <typename T>
RecordNode<T>* append(RecordList<T>* list, std::unique_ptr<T> record) {
    auto* node = new RecordNode<T>{record.release(), list, nullptr};
    RecordNode<T>* last = list;
    while (last->next) last = last->next;
    last->next = node;
    node->prev = last;
    return node;
}

// The record at position n (0-based). Positions below 0 read as 0; a position at
// or past the tail gives null, so a caller that forgot to check `count` reads
// nothing instead of walking off the list.
template <typename T>
T* at(const RecordList<T>* list, int32_t n) {
    if (!list) return nullptr;
    const RecordNode<T>* node = list->next;
    for (int32_t i = 0; node && i < n; ++i) node = node->next;
    return node ? node->payload : nullptr;
}

template <typename T>
int32_t count(const RecordList<T>* list) {
    int32_t n = 0;
    for (const RecordNode<T>* node = list ? list->next : nullptr; node; node = node->next) ++n;
    return n;
}

template <typename T>
void freeAll(RecordList<T>* list) {
    RecordNode<T>* node = list->next;
    while (node) {
        RecordNode<T>* next = node->next;
        delete node->payload;
        delete node;
        node = next;
    }
    list->next = nullptr;
}

template <typename T>
void destroyList(RecordList<T>* list) {
    if (!list) return;
    freeAll(list);
    delete list;
}

// Owns a whole list, for code that builds one outside the viewer state.
template <typename T>
struct RecordListDeleter {
    void operator()(RecordList<T>* list) const { destroyList(list); }
};
template <typename T>
using OwnedRecordList = std::unique_ptr<RecordList<T>, RecordListDeleter<T>>;
