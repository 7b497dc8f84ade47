# One bad word of 8 MiB before the ten numbers, made here rather than kept in the tree.
string(REPEAT 7 8388608 word)
file(WRITE huge_word.in "${word}x 1 2 3 4 5 6 7 8 9 10 n")
set(INPUT huge_word.in)
