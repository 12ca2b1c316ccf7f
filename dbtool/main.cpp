// qavbd: checks and upgrades the tables of a data folder.
int main() { return 0; }
