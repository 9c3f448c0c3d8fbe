// Keeps a library buildable while its folders are still empty.
