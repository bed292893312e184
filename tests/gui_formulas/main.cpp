int tarvelaGuiTestMain(int, char**);
int main(int c, char** v) {
    return tarvelaGuiTestMain(c, v);
}
