#pragma once
// Whether a print queue of the system takes jobs. A queue can exist and run
// yet refuse every job (its administrator stopped accepting them): a document
// sent there would vanish without an error. The queue is asked with
// `lpstat -a` in the C locale, within a short time; without the command, or
// without a clear answer in time, the queue counts as accepting.

#include <QString>

// Empty when the queue accepts jobs (or cannot be asked); otherwise the
// Italian text of a printer that is not ready.
QString QueueRefusal(const QString& queue, int timeoutMs = 2000);
