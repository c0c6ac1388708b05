<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ByteCounts</name>
    <message>
        <source>bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EB</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 bytes</source>
        <translation>
            <numerusform>%1 byte</numerusform>
            <numerusform>%1 bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>%1: not text in this system&apos;s encoding (UTF-8), so Tessary cannot tell which file it names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>which command: split, join or verify?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files to be converted.  You need to add files to be converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an empty argument: no file name given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>give a size (-s) or a number of pieces (-n), not both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number of pieces: give a whole number, 1 or more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No output file size selected.  You need to select the Output File Size you want</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes (-y).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No: tessary-cli answers No unless -y is given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>which file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one file at a time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show this help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary without windows: the same checks before writing, the same pieces, restore scripts and SHA-256 lists, and the same messages as its window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress shows on stderr when it is a terminal. Ctrl+C stops a run as Cancel does in the window: the files finished keep their pieces, nothing is left of the one under way.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit status: 0 done; 1 refused or failed (the reason on stderr, with the path), or a piece damaged or missing; 2 usage; 128 + the signal&apos;s number when one stopped it (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP, 131 SIGQUIT).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%2: %3
Try &apos;%1%2 --help&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a size: give a whole number of bytes (1400000), a size in k, M or G (1000s) or in KiB, MiB or GiB (1024s), or one of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: standard output: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an amount of recovery: give a number of pieces, 1 or more, or a percentage from 1% to 100%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>answer Yes to every question: replace a file, join without a script or list, go on past a piece of odd length, rebuild pieces from recovery files. Without it, each is answered No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the piece size, which has no default: one of the window&apos;s sizes, %1; what a piece must fit, %2, in pieces of at most that many bytes; a whole number of bytes; or a number with k, M or G (1000s) or KiB, MiB or GiB (1024s) that comes to whole bytes (1.5k, 64MiB), read the same under every locale. Every piece but the last holds one byte less than SIZE (at 100k, 99,999 bytes), so SIZE is 2 bytes at least.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cut each file into N pieces of one length, the last no longer; a file too short for that is refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write recovery files in PAR2 (FILE.par2 and its volumes) that rebuild any N lost or damaged pieces, or N percent of them (rounded up); they need the par2 program, and the SHA-256 list that names them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a size of %1 gives no pieces: every piece holds one byte less than the size, so it must be 2 bytes or more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no progress, and no message on success; of a check that fails, only what is wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--mkdir and --resume are for a split to a remote (-o REMOTE:path)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-o is for a join from a remote; a join writes the file beside its pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cut each FILE into pieces of SIZE, or into N pieces, in DIR (by default the current folder), with restore scripts for Windows (FILE.bat) and for macOS, Linux and the BSDs (FILE.sh) and a SHA-256 list (FILE.sha256) beside them; or onto a remote of rclone&apos;s, REMOTE:path, each piece sent as it is read, none written to the local disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>join the pieces of FILE, a restore script, a SHA-256 list or a first piece (name.1), into the file they were split from, beside them, checked against the list when there is one, lost or damaged pieces rebuilt from recovery files; or those on a remote of rclone&apos;s, which must have their list, into DIR (by default the current folder), each piece checked as it comes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>check the pieces of FILE, a SHA-256 list, a restore script or a first piece, here or on a remote of rclone&apos;s, against the list, writing nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output folder, by default the current one; for a split, REMOTE:path too: a remote of rclone&apos;s configuration (rclone listremotes) or one made on the fly (:sftp,host=example.org:path). A local folder whose name holds a colon before any slash is given as ./NAME. A join takes it only from a remote.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>make the remote folder where it is missing; without it, a split into a folder that is not there is refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>take up a split to a remote that was cut: the pieces there that hold what this split sends are kept, the rest sent; run the same command again with it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--aligned rounds to the blocks of a folder&apos;s file system, which a remote (-o REMOTE:path) has not</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--aligned rounds a size (-s) down, and takes no number of pieces (-n)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>round SIZE down to whole blocks of the output folder&apos;s file system (4,096 bytes on most), and say so: on a volume that shares blocks between files (btrfs, XFS), pieces cut from a source there can then share its blocks.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DriveList</name>
    <message>
        <source>%1 [%2]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EndNotices</name>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 written to %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 restored in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1: all %n pieces match</source>
        <translation>
            <numerusform>%1: its one piece matches</numerusform>
            <numerusform>%1: all %n pieces match</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pieces damaged</source>
        <translation>
            <numerusform>%n piece damaged</numerusform>
            <numerusform>%n pieces damaged</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pieces missing</source>
        <translation>
            <numerusform>%n piece missing</numerusform>
            <numerusform>%n pieces missing</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>it gave no reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1 %2, so nothing of the script was run: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1 %2, so the pieces were not checked against it: </source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1, more than the recovery files can rebuild: %2 more pieces would be needed.</source>
        <translation>
            <numerusform>%1, more than the recovery files can rebuild: %2 more piece would be needed.</numerusform>
            <numerusform>%1, more than the recovery files can rebuild: %2 more pieces would be needed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Damaged or missing: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a FIFO (named pipe)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %2 are damaged or missing</source>
        <translation>
            <numerusform>%1 of the %2 is damaged or missing</numerusform>
            <numerusform>%1 of the %2 are damaged or missing</numerusform>
        </translation>
    </message>
    <message>
        <source>it was stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>there is not enough memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the system has no thread to spare: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is read-only: nothing can be written there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its disk is full: nothing more can be written there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its file system can make no more files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a symbolic link, which Tessary never writes through</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a symbolic link, which Tessary does not follow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is %1, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has other names (hard links), which writing it would change too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file of this name appeared while Tessary wrote it, and was not replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>it holds more than the %1 bytes expected</source>
        <translation>
            <numerusform>it holds more than the %1 byte expected</numerusform>
            <numerusform>it holds more than the %1 bytes expected</numerusform>
        </translation>
    </message>
    <message>
        <source>it keeps being replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recovery files need the par2 program (apt install par2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program ended early: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name holds a double quote, which no restore script can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name holds a control character (%1), which no restore script can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name holds &quot;%1&quot;, a wildcard to the Windows command shell, so the restore script could join other files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name holds &quot;%1&quot;, which Windows does not allow in a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name ends with a blank, which Windows drops from file names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name ends with a dot, which Windows drops from file names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a device name on Windows, so its pieces and restore script could not be used there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its name is not valid UTF-8, so it cannot stand in a restore script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recovery files are written only with the checksum list, which names them: turn the checksum list on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its pieces and restore script would take the same names as those of %1, which is queued before it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is itself queued to be split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 would take the name of %2, which is queued to be split: Windows does not tell the two names apart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is another name (a hard link) of %2, which is queued to be split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a symbolic link, which Tessary never writes through</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has other names (hard links), which writing it would change too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 would take the name of %2 once on Windows, which does not tell the two names apart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 exists, and Tessary may not write it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its %1 %2 is not a %1 of %3&apos;s pieces; Tessary will not replace it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file stands at its piece&apos;s name %1, and no restore script or checksum list of %2 beside it names that piece: it may be a file of your own (a rotated log, say); Tessary will not replace it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be examined: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another Tessary run is writing %1&apos;s pieces there</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the name %1 would take %2 bytes, more than the %3 that the output folder&apos;s file system allows in a name</source>
        <translation>
            <numerusform>the name %1 would take %2 byte, more than the %3 that the output folder&apos;s file system allows in a name</numerusform>
            <numerusform>the name %1 would take %2 bytes, more than the %3 that the output folder&apos;s file system allows in a name</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the name %1 would take a path of %2 bytes, more than the %3 that the system allows</source>
        <translation>
            <numerusform>the name %1 would take a path of %2 byte, more than the %3 that the system allows</numerusform>
            <numerusform>the name %1 would take a path of %2 bytes, more than the %3 that the system allows</numerusform>
        </translation>
    </message>
    <message>
        <source>Tessary may not make files in this folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this folder has been removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the split needs %1 of free space there, but only %2 is free</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the split needs %1 new files there, but only %2 more can be made</source>
        <translation>
            <numerusform>the split needs %1 new file there, but only %2 more can be made</numerusform>
            <numerusform>the split needs %1 new files there, but only %2 more can be made</numerusform>
        </translation>
    </message>
    <message>
        <source>its file system holds files of at most %1, smaller than the %2 pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds %1, fewer than the %2 asked for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds %1, which cannot be cut into %2 of one length (the last no longer)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the split was not started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it changed after it was checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it changed while it was split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was replaced while it was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was cut short while it was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is itself queued to be split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it would take the name of %1, which is queued to be split: Windows does not tell the two names apart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is another name (a hard link) of %1, which is queued to be split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it would take the name of %1 once on Windows, which does not tell the two names apart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it exists, and Tessary may not write it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is too large to be a restore script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a restore script that Tessary writes: it has fewer than two lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>starts with a byte order mark, which the command shell does not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is longer than the command shell reads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not valid UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>comes after the line that says %1 is restored, where a restore script ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not a command that Tessary writes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>makes %1, a file that Tessary does not split (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>makes %1, not %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>does not go on from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>names %1 where the piece %2 belongs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not the line that says %1 is restored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it stands beside %1 but restores %2, not %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 joins %2, but %3 lists %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it lists %1, but %2 stands beside them too, so the pieces were not checked against it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this piece is missing, though %1 is there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a piece; choose the restore script, the checksum list or the first piece (the one whose name ends in .1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>choose the checksum list, the restore script or the first piece (the one whose name ends in .1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than any checksum list of a split, so the pieces were not checked against it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has no line for %1, so it cannot tell whether the pieces make that file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it names no pieces of %1, so there is nothing to check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has no line for %1, though it lists %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is longer than any line of a checksum list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not a SHA-256 digest and a name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>names %1, which is neither %2 nor one of its pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>names %1 a second time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it and %1 are both a checksum list of %2; Tessary cannot tell which one to trust</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no checksum list (%1) stands beside it, so there is nothing to check the pieces against</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this piece is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a symbolic link; Tessary joins only the pieces themselves</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is %1, not a piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is the same file as %1 (a hard link), not a piece of its own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is the restore script itself, not a piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no restore script stands beside it, and the join was not started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>holds %1, but %2 holds %3: a piece is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its length is not that of a piece of this split, and the join was stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is the restore script being read, which a split never names after the file it restores</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is %1, which a join never replaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is one of its own pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it exists, and was not replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another Tessary run is writing %1 or its pieces there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the joined file needs %1 of free space there, but only %2 is free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the joined file needs a new file there, but no more can be made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was cut short while it was joined</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is damaged: its SHA-256 does not match %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>would not be the file that was split: its SHA-256 does not match %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the names of its %1 pieces are too long together to be handed to the par2 program; fewer pieces or a shorter name would do</source>
        <translation>
            <numerusform>the name of its %1 piece is too long to be handed to the par2 program; a shorter name would do</numerusform>
            <numerusform>the names of its %1 pieces are too long together to be handed to the par2 program; fewer pieces or a shorter name would do</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>it would be cut into %1 pieces, more than the %2 that recovery files can cover</source>
        <translation>
            <numerusform>it would be cut into %1 piece, more than the %2 that recovery files can cover</numerusform>
            <numerusform>it would be cut into %1 pieces, more than the %2 that recovery files can cover</numerusform>
        </translation>
    </message>
    <message>
        <source>its recovery files would not fit the output folder&apos;s file system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program could not read the recovery files: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program could not make the recovery files: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program did not make this recovery file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program made this file, which Tessary did not ask for, so no recovery file was kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it changed while it was rebuilt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is %1, which Tessary will not replace with a rebuilt piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rebuilt pieces need %1 of free space there, but only %2 is free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its file system has no symbolic links, which Tessary needs to rebuild pieces there safely; copy the pieces and recovery files to another disk, or run par2 repair %1 there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program did not rebuild it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program rebuilt it, but it does not match %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the par2 program could not rebuild the pieces: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no recovery file of %1 stands beside its pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remotes need the rclone program (apt install rclone)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rclone program could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rclone program ended early: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>what rclone answered could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a remote of rclone&apos;s configuration (rclone listremotes lists them, rclone config adds one)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the remote refused the credentials: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the remote has no room left (a quota exceeded): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the connection to the remote was lost: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not on the remote: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rclone could not do it: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recovery files are made from pieces on the local disk, and a split to a remote writes none there: choose no recovery files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this folder is not on the remote, and Tessary makes it only when asked to (--mkdir)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file stands at its piece&apos;s name %1, and no restore script or checksum list of %2 beside it names that piece; Tessary will not replace it. Where a split that was cut left it, split again with --resume, which keeps it if it is that piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not the piece that this split of %1 makes, and no restore script or checksum list beside it names it, so it is not one of a split that was cut; Tessary will not replace it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after the upload it holds %1 on the remote, not the %2 sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after the upload its %1 on the remote is not that of the bytes sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after the upload it is not on the remote</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not on the remote</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a restore script that Tessary wrote for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it gives other pieces than %1 lists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pieces of %1 cannot be rounded down to whole blocks of its file system, which are of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JobWindow</name>
    <message>
        <source>%1 is under way. Stop it, leaving nothing half-made, and quit Tessary?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A join</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A check of pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check found damage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split finished</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Join</name>
    <message>
        <source>No restore script stands beside %1, so Tessary cannot tell whether all pieces are here. It found %2 (%3). Join them into %4?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 exists already.

Replace it with the file joined from its pieces?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds %2, but %3 holds %4. In a split every piece but the last holds as many bytes as the first, and the last no more: a piece may be damaged, or come from another split.

Join the pieces all the same?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1.

Recovery files stand beside the pieces. Rebuild what is damaged or missing from them, then join?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stands beside %2, but it is not a restore script that Tessary wrote, so Tessary cannot tell whether all pieces are here. It found %3 (%4). Join them into %5?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>1 name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> of nothing that is there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item that is not a file (a device or a named pipe)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items that are not files (devices or named pipes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>files given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> not on this computer&apos;s drives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>items dropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: only files can be split; open the folder to add its files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of the %2 %3 %4 not added to the files to convert:

%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>were</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checksum lists (*.sha256)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore scripts (*.bat *.sh)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split To Remote</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Make the folder where it is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Take up a split that was cut, keeping the pieces sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remote:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Folder on it:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 pieces</source>
        <translation>
            <numerusform>%1 piece</numerusform>
            <numerusform>%1 pieces</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Outputs</name>
    <message>
        <source>checksum list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write no SHA-256 list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write &amp;Checksums</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>macOS and Linux restore script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write no restore script for macOS, Linux and the BSDs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write &amp;Restore Script for macOS and Linux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>restore script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recovery file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>piece</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing to disk…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (%1 of %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 min left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 h %2 min left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecoveryMenu</name>
    <message>
        <source>&amp;None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebuild &amp;1 Lost Piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebuild &amp;2 Lost Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebuild 1&amp;0 % of Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rec&amp;overy Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecoveryMessages</name>
    <message>
        <source>Whether the recovery files can rebuild the pieces could not be told: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recovery files find every piece whole, though the checksum list does not.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %2 recovery files are damaged or missing, so fewer pieces can be rebuilt.</source>
        <translation>
            <numerusform>%1 of the %2 recovery files is damaged or missing, so fewer pieces can be rebuilt.</numerusform>
            <numerusform>%1 of the %2 recovery files are damaged or missing, so fewer pieces can be rebuilt.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 was rebuilt from the recovery files first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 pieces were rebuilt from the recovery files first: %2.</source>
        <translation>
            <numerusform>%1 piece was rebuilt from the recovery files first: %2.</numerusform>
            <numerusform>%1 pieces were rebuilt from the recovery files first: %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 was rebuilt from the recovery files before that, and stays beside the other pieces.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 pieces were rebuilt from the recovery files before that, and stay beside the others: %2.</source>
        <translation>
            <numerusform>%1 piece was rebuilt from the recovery files before that, and stays beside the others: %2.</numerusform>
            <numerusform>%1 pieces were rebuilt from the recovery files before that, and stay beside the others: %2.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %2 are damaged or missing; the recovery files can rebuild them.</source>
        <translation>
            <numerusform>%1 of the %2 is damaged or missing; the recovery files can rebuild it.</numerusform>
            <numerusform>%1 of the %2 are damaged or missing; the recovery files can rebuild them.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Refusal</name>
    <message>
        <source>The split was not started:

%1

Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteMessages</name>
    <message>
        <source>Error: Split Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rclone&apos;s chunker (%1) reads the pieces of %2 there as one file of %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rclone&apos;s chunker (%1) does not read the pieces of %2 there as one file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None of the pieces of %1 is on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %2 of %3 are on %4, whole; split again with --resume to send the rest.</source>
        <translation>
            <numerusform>%1 of the %2 of %3 is on %4, whole; split again with --resume to send the rest.</numerusform>
            <numerusform>%1 of the %2 of %3 are on %4, whole; split again with --resume to send the rest.</numerusform>
        </translation>
    </message>
    <message>
        <source>The split was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 files were split.</source>
        <translation>
            <numerusform>%1 file was split.</numerusform>
            <numerusform>%1 files were split.</numerusform>
        </translation>
    </message>
    <message>
        <source>The piece under way was removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split Stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be split onto the remote.

%2

%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files were sent, but the last listing of %1 does not show them all whole.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files could not be split.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I am done splitting all of the files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>They are on %1, each at its size in a listing taken at the end.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 pieces were there whole from the split that was cut, and were kept.</source>
        <translation>
            <numerusform>%1 piece was there whole from the split that was cut, and was kept.</numerusform>
            <numerusform>%1 pieces were there whole from the split that was cut, and were kept.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RunMessages</name>
    <message>
        <source>Error: Split Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Join Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files could not be split.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be split.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>were</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The split was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not split, and its pieces were removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 split; %3 was not, and its pieces were removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 split.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 files were not started.</source>
        <translation>
            <numerusform>%1 file was not started.</numerusform>
            <numerusform>%1 files were not started.</numerusform>
        </translation>
    </message>
    <message>
        <source>Split Stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has been restored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No checksum list stood beside the pieces, so they were joined unchecked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The piece matched its checksum.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>All %1 pieces matched their checksums.</source>
        <translation>
            <numerusform>%1 piece matched its checksum.</numerusform>
            <numerusform>All %1 pieces matched their checksums.</numerusform>
        </translation>
    </message>
    <message>
        <source>matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files were split, but not all of them reached the disk.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I am done splitting all of the files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join Stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The join was stopped. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has been restored, but it may not have reached the disk yet.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pieces were not joined, and nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The check was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every piece matches its line in %1, but joined they would not make %2 as the list gives it: its line for %2 is wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The piece matches %1 and makes %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>All %1 pieces match %2, and joined they make %3.</source>
        <translation>
            <numerusform>%1 piece matches %2, and makes %3.</numerusform>
            <numerusform>All %1 pieces match %2, and joined they make %3.</numerusform>
        </translation>
    </message>
    <message>
        <source> So does %1, joined beside them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1, joined beside them, does not.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pieces could not be checked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %2 in %3 match.</source>
        <translation>
            <numerusform>%1 of the %2 in %3 matches.</numerusform>
            <numerusform>%1 of the %2 in %3 match.</numerusform>
        </translation>
    </message>
    <message>
        <source>damaged (it is %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The split was stopped before anything was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>But %1 cannot be trusted to restore them: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every piece but the last holds %1: the size rounded down to whole blocks of the output file system, which are of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pieces share their blocks with the files split, on this volume that lets files share blocks: they take no extra space.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Sizes</name>
    <message>
        <source>Custom Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FAT32 Stick or Card (4 GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CD (700 MB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DVD (4.7 GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dual-Layer DVD (8.5 GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blu-ray Disc (25 GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail Attachment (18 MB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GitHub Release Asset (2 GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discord Attachment (10 MB)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Start</name>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--join and --verify go one at a time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes one file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: tessary [FILE...]
       tessary --join [FILE]
       tessary --verify [FILE]

Tessary cuts files into numbered pieces of a chosen size, with a restore script and a
SHA-256 list beside them, and joins them again.

  FILE...          open the window with the FILEs queued to be split
  --join [FILE]    join the pieces of FILE, a restore script or a first piece
  --verify [FILE]  check the pieces of FILE against their checksum list
  -h, --help       show this help
  --version        show the version

Without FILE, --join and --verify ask for it. tessary-cli does the same without a
window.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tessary: %1
Try &apos;tessary --help&apos;.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmSplit</name>
    <message>
        <source>Tessary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files to Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output File Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Size Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Join Files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Verify Pieces...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Split Into Pieces...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si&amp;ze For</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive not Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>select a file to copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No items selected. Nothing Deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: No Selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files to be converted.  You need to add files to be converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: No selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No output file size selected.  You need to select the Output File Size you want</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Size is not Numeric.  It must be a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split Into Pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut each file into how many pieces?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drive whose folders the source folders show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter opens the folder chosen; its files are listed beside</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files in the source folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add File queues the file chosen here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Queues the file chosen among the files in the source folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split Files cuts these files into pieces, in this order; Delete removes those chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removes the files chosen from the queue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cuts each queued file into pieces of the size chosen, in the output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The size of each piece</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The size of each piece, in bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drive whose folders the output folders show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pieces are written to the folder on show; Enter opens the folder chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;move File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Pieces to Disk &amp;Blocks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split &amp;To Remote...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmWait</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait splitting files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Splitting Files Please Wait</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait joining files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joining Files Please Wait</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait checking pieces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking Pieces Please Wait</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How much of the work is done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asks the work under way to stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
