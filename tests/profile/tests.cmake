# Profile tests: one line (or block) per test executable.
