// Has no version resource at all: the file-version tests read it.
int main() { return 0; }
