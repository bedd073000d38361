#pragma once

// A unique key whose index ignores or disallows nulls is written as that index: the
// constraint form of a key has no place for the null rule, and the engine makes the key of a
// unique index by itself.

class Index;
class Key;

// The index that stands for the key in the script, or null when the key is written as a
// constraint.
const Index* indexWrittenForKey(const Key& key);
