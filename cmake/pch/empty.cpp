// The translation unit that builds a precompiled header; it has nothing of its own.
