# The most bytes the 32-bit client executable (stripped, every resource and
# the address trailer included) may take. The one place the budget lives: the
# i686 build fails past it, and the size test reads it too.
set(MICROCLIENT_SIZE_BUDGET 900000)
