# Packs the per-character collation codes of the two General sort orders into our own
# run-length form (see TextSortTables.h for the layout).
import sys
def hexbytes(h):
    if h == '': return []
    if len(h) % 2: h = '0' + h
    return [int(h[i:i+2], 16) for i in range(0, len(h), 2)]
def pack(main, ext):
    lines = [l.rstrip('\n') for l in open(main)] + [l.rstrip('\n') for l in open(ext)]
    out = []; prev = None; run = None  # run = [kind, count]
    def flush():
        nonlocal run
        if run:
            out.extend([run[0], run[1] & 0xFF, run[1] >> 8]); run = None
    for line in lines:
        k = line[0]; f = line[1:].split(',') if len(line) > 1 else ['']
        if k == 'X':
            if run and run[0] == 0 and run[1] < 0xFFFF: run[1] += 1
            else: flush(); run = [0, 1]
            continue
        if k == 'S':
            b = hexbytes(f[0]); v = int.from_bytes(bytes(b), 'big')
            if prev and prev[1] == len(b) and v == prev[0] + 1:
                prev = (v, len(b))
                if run and run[0] == 1 and run[1] < 0xFFFF: run[1] += 1
                else: flush(); run = [1, 1]
                continue
            flush(); prev = (v, len(b)); out.extend([2, len(b)] + b); continue
        flush()
        if k == 'I':
            a, e = hexbytes(f[0]), hexbytes(f[1]); out.extend([3, len(a)] + a + [len(e)] + e)
        elif k == 'U':
            a = hexbytes(f[0]); out.extend([4, len(a)] + a)
        elif k == 'P':
            out.extend([5] + hexbytes(f[0]))
        elif k == 'Z':
            a, e = hexbytes(f[0]), hexbytes(f[1]); out.extend([6, len(a)] + a + [len(e)] + e + [1 if f[2] == '1' else 2])
        else:
            raise SystemExit('unknown kind ' + k)
    flush()
    return out
def emit(name, data):
    s = 'const std::uint8_t %s[] = {\n' % name
    for i in range(0, len(data), 24):
        s += '    ' + ', '.join(str(x) for x in data[i:i+24]) + ',\n'
    return s + '};\n'
d = sys.argv[1]
jet4 = pack(d + '/index_codes_genleg.txt', d + '/index_codes_ext_genleg.txt')
ace = pack(d + '/index_codes_gen.txt', d + '/index_codes_ext_gen.txt')
print('// Generated: the collation codes of every UTF-16 unit (surrogates aside) under the General\n// sort orders of Jet 4 and of ACE, in the packed form TextSortTables.h describes.\n')
print('#include "foundation/engine/jetfile/TextSortTables.h"\n\nnamespace engine::jetfile::sorttables {\n\nnamespace {\n')
print(emit('jet4General', jet4)); print(emit('aceGeneral', ace))
print('} // namespace\n\nstd::span<const std::uint8_t> packedJet4General() { return jet4General; }\nstd::span<const std::uint8_t> packedAceGeneral() { return aceGeneral; }\n\n} // namespace engine::jetfile::sorttables')
sys.stderr.write('sizes %d %d\n' % (len(jet4), len(ace)))
