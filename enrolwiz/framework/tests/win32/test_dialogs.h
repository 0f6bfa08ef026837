// Ids of the dialog templates of the framework's Win32 tests.
#define IDD_EXCHANGE 500
#define IDC_NAME 501
#define IDC_AGREE 502
#define IDC_FIRST_CHOICE 503
#define IDC_SECOND_CHOICE 504
#define IDC_THIRD_CHOICE 505
#define IDC_OTHER_GROUP 506
#define IDC_FIXED_LIST 507
#define IDC_FREE_LIST 508
#define IDC_NOTE 509
#define IDC_NEST 510
