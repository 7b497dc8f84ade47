# What the program writes, up to its closing line: the command processor's pause message that
# follows it is worded differently in every language, and under Wine.
set(PREFIX ON)
