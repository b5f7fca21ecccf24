/* A small executable whose file ends exactly at its last section (linked -s):
   the address trailer tests append bytes to copies of it. */
int main(void)
{
    return 0;
}
