# Standard input is a directory, which cannot be read.
set(INPUT /)
