// Printing of the mail-in registration form.
#ifndef ENROLWIZ_OFFLINE_PRINT_REGISTRATION_H
#define ENROLWIZ_OFFLINE_PRINT_REGISTRATION_H

class CWnd;

// Prints the form on a printer of the customer's choice, mainWindow being the
// window disabled while it prints. 0 when the document was printed; -1 when
// no printer device context was obtained (the print dialog was cancelled or
// there is no printer); -2 when printing failed or was cancelled meanwhile.
int printRegistration(CWnd* mainWindow);

#endif
