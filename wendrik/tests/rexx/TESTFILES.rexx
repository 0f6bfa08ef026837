/* The file helpers of the REXX test scripts, one external routine for all
   of them: the first argument names the helper, the rest are its own.
     testfiles('write', NAME, CONTENT)  NAME holds CONTENT (created or replaced)
     testfiles('read', NAME)            what NAME holds; '(missing)' when it
                                        does not exist
     testfiles('count', NAME, TEXT)     how many lines of NAME hold TEXT (a
                                        server's log: commands show there
                                        as 'FTP command: ... "TEXT"')
     testfiles('names', FOLDER, START)  how many names in FOLDER begin with
                                        START
     testfiles('every byte', N)         test data: every byte value, then
                                        CR LF and Ctrl-Z, N times
     testfiles('text lines')            test data: 2000 lines of text, each
                                        ended by CR LF
   Regina looks for an external routine under its name in upper case, in
   the folders of REGINA_MACROS (run_rexx.py names this one); it is not a
   test script of its own (CMakeLists.txt). */
parse arg helper, name, content
select
  when helper = 'write' then do
    call stream name, 'c', 'open write replace'
    call charout name, content
    call stream name, 'c', 'close'
    return ''
  end
  when helper = 'read' then do
    if stream(name, 'c', 'query exists') = '' then return '(missing)'
    call stream name, 'c', 'open read'
    content = charin(name, 1, chars(name))
    call stream name, 'c', 'close'
    return content
  end
  when helper = 'count' then do
    n = 0
    call stream name, 'c', 'open read'
    do while lines(name) > 0
      if pos(content, linein(name)) > 0 then n = n + 1
    end
    call stream name, 'c', 'close'
    return n
  end
  when helper = 'names' then do
    address system 'ls' name with output stem files.
    n = 0
    do i = 1 to files.0
      if left(files.i, length(content)) = content then n = n + 1
    end
    return n
  end
  when helper = 'every byte' then
    return copies(xrange('00'x, 'ff'x) || '0d0a1a'x, name)
  when helper = 'text lines' then do
    text = ''
    do i = 1 to 2000
      text = text || 'line' i 'of the text file' || '0d0a'x
    end
    return text
  end
end
say 'FAIL: testfiles has no helper' helper
exit 1
